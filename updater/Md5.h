// RFC 1321 message digest over bytes or a whole file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class MD5
{
public:
    MD5();
    void Update(const void* data, size_t length);
    // Reads the open file to its end and closes it. A read error leaves the
    // digest of what was read and returns false.
    bool UpdateFromFile(FILE* file);
    // Pads and finishes; later calls do nothing.
    void Finalize();
    // 16 bytes; all zero until finalized.
    const unsigned char* GetRawDigest() const { return m_digest; }
    // The same 16 bytes into out.
    void CopyRawDigest(unsigned char* out) const;
    // 32 lowercase hex digits and a NUL into out (33 bytes); empty text until finalized.
    void FormatHexDigest(char* out) const;
    // The same digits as a string; empty until finalized.
    std::string GetHexDigest() const;

private:
    void Transform(const unsigned char* block);

    uint32_t m_state[4];
    uint64_t m_bitCount = 0;
    unsigned char m_buffer[64];
    unsigned char m_digest[16] = {};
    bool m_finalized = false;
};

enum class FileDigest
{
    Ok,
    Missing,     // no file (or folder) of that name
    CannotOpen,  // there, but it cannot be opened for reading
    ReadFailed,
};

// 32 lowercase hex digits and a NUL into hex (33 bytes) for the file at path;
// hex is empty unless the result is Ok. Safe on any thread.
FileDigest DigestFile(const char* path, char* hex);
