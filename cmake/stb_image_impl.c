/* The one translation unit that carries stb_image's implementation. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
