// Small helpers for the fixed text fields and long texts of the records.
#ifndef CLRECORDUTIL_H
#define CLRECORDUTIL_H

#include <cstddef>
#include <cstring>
#include <string>

// Copies at most nMax characters of src (and never more than the field holds)
// into a fixed field, zero-filling the rest, so the field is always terminated.
template <size_t N> void CopyField(char (&dst)[N], const char* src, size_t nMax = N - 1)
{
    size_t nCap = nMax < N - 1 ? nMax : N - 1;
    size_t n = src ? strnlen(src, nCap) : 0;
    std::memcpy(dst, src ? src : "", n);
    std::memset(dst + n, 0, N - n);
}

template <size_t N> void CopyField(char (&dst)[N], const std::string& src, size_t nMax = N - 1)
{
    size_t nCap = nMax < N - 1 ? nMax : N - 1;
    size_t n = src.size() < nCap ? src.size() : nCap;
    std::memcpy(dst, src.data(), n);
    std::memset(dst + n, 0, N - n);
}

// The text held by a fixed field: at most N-1 characters, never reading past it.
template <size_t N> std::string FieldText(const char (&field)[N])
{
    return std::string(field, strnlen(field, N - 1));
}

// A long text as a heap string (new[]), or null for an empty text.
inline char* DupText(const char* src, size_t n)
{
    if (!src || n == 0)
        return nullptr;
    char* p = new char[n + 1];
    std::memcpy(p, src, n);
    p[n] = 0;
    return p;
}

// Replaces a long text, releasing the old one.
inline void SetText(char*& psz, const std::string& text)
{
    delete[] psz;
    psz = DupText(text.data(), text.size());
}

// A name as it may appear in a message: control characters shown as '?', so
// a message stays on one line.
inline std::string Printable(const std::string& s)
{
    std::string out(s);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return out;
}

inline std::string TextOf(const char* psz)
{
    return psz ? std::string(psz) : std::string();
}

#endif
