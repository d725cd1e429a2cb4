#include "engine/SzHeaderRead.h"

#include "7zCrc.h"

SzHeaderRead::SzHeaderRead(ISeekInStreamPtr input, const SzCappedAlloc& allocator, size_t lookAheadSize)
    : alloc(allocator)
{
    // The decoder checks every CRC against one process-wide table.
    static const bool crcTableReady = (CrcGenerateTable(), true);
    (void)crcTableReady;
    SzArEx_Init(&db);
    LookToRead2_CreateVTable(&look, False);
    look.buf = static_cast<Byte*>(ISzAlloc_Alloc(alloc.Get(), lookAheadSize));
    look.bufSize = look.buf ? lookAheadSize : 0;
    look.realStream = input;
    LookToRead2_INIT(&look);
}

SzHeaderRead::~SzHeaderRead()
{
    SzArEx_Free(&db, alloc.Get());
    ISzAlloc_Free(alloc.Get(), look.buf);
}

bool SzHeaderRead::Open()
{
    return look.buf && SzArEx_Open(&db, &look.vt, alloc.Get(), alloc.Get()) == SZ_OK;
}
