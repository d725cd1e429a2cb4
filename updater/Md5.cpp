#include "Md5.h"

#include "FsPath.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

inline uint32_t Rotl(uint32_t x, int c) { return (x << c) | (x >> (32 - c)); }

const uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

// Large reads keep a whole-file digest close to disk speed.
const size_t kFileBlock = 64 * 1024;

} // namespace

MD5::MD5() : m_state{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476}, m_buffer{} {}

// One step of round r: a = b + ((a + f(b, c, d) + x[k] + t) <<< s).
#define MD5_STEP(f, a, b, c, d, k, s, t) \
    a += f(b, c, d) + x[k] + t;          \
    a = b + Rotl(a, s)
#define MD5_F(b, c, d) (d ^ (b & (c ^ d)))
#define MD5_G(b, c, d) (c ^ (d & (b ^ c)))
#define MD5_H(b, c, d) (b ^ c ^ d)
#define MD5_I(b, c, d) (c ^ (b | ~d))

void MD5::Transform(const unsigned char* block)
{
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = uint32_t(block[i * 4]) | uint32_t(block[i * 4 + 1]) << 8 |
               uint32_t(block[i * 4 + 2]) << 16 | uint32_t(block[i * 4 + 3]) << 24;
    uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    // Unrolled: the digest of every local file runs through here.
    for (int i = 0; i < 16; i += 4) {
        MD5_STEP(MD5_F, a, b, c, d, i, 7, kSine[i]);
        MD5_STEP(MD5_F, d, a, b, c, i + 1, 12, kSine[i + 1]);
        MD5_STEP(MD5_F, c, d, a, b, i + 2, 17, kSine[i + 2]);
        MD5_STEP(MD5_F, b, c, d, a, i + 3, 22, kSine[i + 3]);
    }
    for (int i = 16; i < 32; i += 4) {
        MD5_STEP(MD5_G, a, b, c, d, (5 * i + 1) & 15, 5, kSine[i]);
        MD5_STEP(MD5_G, d, a, b, c, (5 * i + 6) & 15, 9, kSine[i + 1]);
        MD5_STEP(MD5_G, c, d, a, b, (5 * i + 11) & 15, 14, kSine[i + 2]);
        MD5_STEP(MD5_G, b, c, d, a, (5 * i + 16) & 15, 20, kSine[i + 3]);
    }
    for (int i = 32; i < 48; i += 4) {
        MD5_STEP(MD5_H, a, b, c, d, (3 * i + 5) & 15, 4, kSine[i]);
        MD5_STEP(MD5_H, d, a, b, c, (3 * i + 8) & 15, 11, kSine[i + 1]);
        MD5_STEP(MD5_H, c, d, a, b, (3 * i + 11) & 15, 16, kSine[i + 2]);
        MD5_STEP(MD5_H, b, c, d, a, (3 * i + 14) & 15, 23, kSine[i + 3]);
    }
    for (int i = 48; i < 64; i += 4) {
        MD5_STEP(MD5_I, a, b, c, d, (7 * i) & 15, 6, kSine[i]);
        MD5_STEP(MD5_I, d, a, b, c, (7 * i + 7) & 15, 10, kSine[i + 1]);
        MD5_STEP(MD5_I, c, d, a, b, (7 * i + 14) & 15, 15, kSine[i + 2]);
        MD5_STEP(MD5_I, b, c, d, a, (7 * i + 21) & 15, 21, kSine[i + 3]);
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void MD5::Update(const void* data, size_t length)
{
    if (m_finalized)
        return;
    const unsigned char* p = static_cast<const unsigned char*>(data);
    size_t used = size_t(m_bitCount / 8 % 64);
    m_bitCount += uint64_t(length) * 8;
    if (used) {
        size_t take = 64 - used < length ? 64 - used : length;
        memcpy(m_buffer + used, p, take);
        p += take;
        length -= take;
        if (used + take < 64)
            return;
        Transform(m_buffer);
    }
    for (; length >= 64; p += 64, length -= 64)
        Transform(p);
    memcpy(m_buffer, p, length);
}

bool MD5::UpdateFromFile(FILE* file)
{
    std::vector<unsigned char> block(kFileBlock);
    size_t n;
    while ((n = fread(block.data(), 1, block.size(), file)) > 0)
        Update(block.data(), n);
    bool ok = !ferror(file);
    fclose(file);
    return ok;
}

void MD5::Finalize()
{
    if (m_finalized)
        return;
    unsigned char length[8];
    for (int i = 0; i < 8; ++i)
        length[i] = (unsigned char)(m_bitCount >> (8 * i));
    static const unsigned char pad[64] = {0x80};
    size_t used = size_t(m_bitCount / 8 % 64);
    Update(pad, used < 56 ? 56 - used : 120 - used);
    Update(length, 8);
    for (int i = 0; i < 16; ++i)
        m_digest[i] = (unsigned char)(m_state[i / 4] >> (8 * (i % 4)));
    memset(m_state, 0, sizeof m_state);
    memset(m_buffer, 0, sizeof m_buffer);
    m_finalized = true;
}

void MD5::FormatHexDigest(char* out) const
{
    if (!m_finalized) {
        out[0] = 0;
        return;
    }
    static const char hex[] = "0123456789abcdef";
    for (int i = 0; i < 16; ++i) {
        out[i * 2] = hex[m_digest[i] >> 4];
        out[i * 2 + 1] = hex[m_digest[i] & 15];
    }
    out[32] = 0;
}

void MD5::CopyRawDigest(unsigned char* out) const { memcpy(out, m_digest, sizeof m_digest); }

std::string MD5::GetHexDigest() const
{
    char hex[33];
    FormatHexDigest(hex);
    return hex;
}

FileDigest DigestFile(const char* path, char* hex)
{
    hex[0] = 0;
    // One open tells a missing file apart: a lookup first would cost a
    // second search of the folder.
    FILE* file = FsOpen(path, L"rb");
    if (!file)
        return errno == ENOENT ? FileDigest::Missing : FileDigest::CannotOpen;
    MD5 digest;
    if (!digest.UpdateFromFile(file))
        return FileDigest::ReadFailed;
    digest.Finalize();
    digest.FormatHexDigest(hex);
    return FileDigest::Ok;
}
