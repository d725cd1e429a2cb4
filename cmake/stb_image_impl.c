/* The one translation unit that carries stb_image's implementation, built for
   what the framework needs: PNG, JPEG, BMP and GIF from memory, sides capped,
   and every block counted against the decode's budget. */
#include <stdlib.h>

#include "render/StbBudget.h"

static void* OrvoStbMalloc(size_t size);
static void* OrvoStbRealloc(void* block, size_t size);
static void OrvoStbFree(void* block);

#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_NO_LINEAR
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS ORVO_STB_MAX_SIDE
#define STBI_MALLOC(size) OrvoStbMalloc(size)
#define STBI_REALLOC(block, size) OrvoStbRealloc(block, size)
#define STBI_FREE(block) OrvoStbFree(block)
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

/* Each block starts with its size, so a free knows what it returns; 16 bytes
   keep the data aligned as malloc's own. */
typedef union {
    size_t size;
    unsigned char align[16];
} BlockHead;

static __thread size_t t_budget;
static __thread size_t t_live;

void OrvoStbSetBudget(size_t bytes)
{
    t_budget = bytes;
    t_live = 0;
}

static int Fits(size_t more)
{
    if (more > (size_t)-1 - sizeof(BlockHead)) return 0;
    return t_budget == 0 || (t_live <= t_budget && more <= t_budget - t_live);
}

static void* OrvoStbMalloc(size_t size)
{
    BlockHead* head;
    if (!Fits(size)) return NULL;
    head = (BlockHead*)malloc(sizeof(BlockHead) + size);
    if (!head) return NULL;
    head->size = size;
    t_live += size;
    return head + 1;
}

static void OrvoStbFree(void* block)
{
    BlockHead* head;
    if (!block) return;
    head = (BlockHead*)block - 1;
    /* A block kept from an earlier decode left the count when the next began. */
    t_live -= head->size < t_live ? head->size : t_live;
    free(head);
}

static void* OrvoStbRealloc(void* block, size_t size)
{
    BlockHead* head;
    size_t old;
    if (!block) return OrvoStbMalloc(size);
    head = (BlockHead*)block - 1;
    old = head->size;
    if (size > old && !Fits(size - old)) return NULL;
    head = (BlockHead*)realloc(head, sizeof(BlockHead) + size);
    if (!head) return NULL;
    head->size = size;
    t_live = t_live - (old < t_live ? old : t_live) + size;
    return head + 1;
}
