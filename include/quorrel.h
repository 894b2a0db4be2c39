/*
 * Quorrel: converts one HTML or XHTML page into a WML 1.1 deck for a WAP
 * handset, tailored by the device profiles of "Fendrel.cfg" beside the
 * library.
 *
 * Capacity rule: the deck is written only when the buffer is larger than the
 * measured length of the deck (so the deck and its NUL always fit). Otherwise
 * nothing is written, `capacity` becomes 0 and the result is 0; call again
 * with a larger buffer. On success the result and the value left in
 * `capacity` both equal the length of the deck, without its NUL.
 *
 * Any number of threads may call WapConvert at once. Each call converts
 * with one whole configuration, the one in force when it starts; a changed
 * configuration file is read again for the calls that start after it.
 */
#ifndef QUORREL_H
#define QUORREL_H

/* The library's own sources define QUORREL_BUILDING_LIBRARY and see these
 * declarations as its exports; hosts see them as imports. */
#if defined(_WIN32) && defined(QUORREL_BUILDING_LIBRARY)
#define QUORREL_EXPORT __declspec(dllexport)
#elif defined(_WIN32)
#define QUORREL_EXPORT __declspec(dllimport)
#elif defined(QUORREL_BUILDING_LIBRARY)
#define QUORREL_EXPORT __attribute__((visibility("default")))
#else
#define QUORREL_EXPORT
#endif

#ifdef __cplusplus
extern "C" {

/* The version text, "Quorrel, v" and the version number; constant, never
 * freed by the caller. */
QUORREL_EXPORT const char* LibraryVersion();

/*
 * callerTag  - a tag text of the host; not used by the conversion.
 * userAgent  - the handset's user-agent text, NUL-terminated; may be null
 *              (the default device is used).
 * page       - the page text; exactly pageLength bytes are read, no NUL needed.
 * pageLength - number of bytes of page.
 * output     - the caller's buffer; the deck is written there, NUL-terminated.
 * capacity   - in: size of the buffer in bytes; out: length of the deck, or 0.
 * Returns the value left in capacity. Only capacity and the memory output
 * points to are changed.
 */
QUORREL_EXPORT int WapConvert(char*& callerTag, char*& userAgent, char*& page, int& pageLength,
                              char*& output, int& capacity);
}

#else

/* The same functions for C hosts: each reference is passed as a pointer to
 * the caller's variable, which is what the C++ declaration compiles to. */
QUORREL_EXPORT const char* LibraryVersion(void);
QUORREL_EXPORT int WapConvert(char** callerTag, char** userAgent, char** page, int* pageLength,
                              char** output, int* capacity);

#endif

#endif
