/* A C host of the installed library: declarations in pointer form, built
 * with the flags that pkg-config gives for quorrel. */
#include <stdio.h>
#include <string.h>

#include <quorrel.h>

static int Expect(int condition, const char* what)
{
    if (!condition) fprintf(stderr, "host.c: %s\n", what);
    return condition;
}

int main(void)
{
    char text[] = "<html><head><title>Installed</title></head>"
                  "<body><p>Hello from C</p></body></html>";
    char deck[4096];
    char tooSmall[8];
    char* tag = NULL;
    char* agent = NULL;
    char* page = text;
    int length = (int)strlen(text);
    char* output = tooSmall;
    int capacity = (int)sizeof tooSmall;
    int ok = 1;

    ok &= Expect(strncmp(LibraryVersion(), "Quorrel, v", 10) == 0, "unexpected version text");
    ok &= Expect(WapConvert(&tag, &agent, &page, &length, &output, &capacity) == 0 &&
                     capacity == 0,
                 "a buffer too small for the deck was not refused");

    output = deck;
    capacity = (int)sizeof deck;
    int written = WapConvert(&tag, &agent, &page, &length, &output, &capacity);
    if (!Expect(written > 0, "no deck was produced")) return 1;
    ok &= Expect(capacity == written && (int)strlen(deck) == written,
                 "result, capacity and deck length differ");
    ok &= Expect(page == text && length == (int)strlen(text) && output == deck,
                 "the caller's variables were changed");
    ok &= Expect(strstr(deck, "<wml>") != NULL, "the deck has no <wml>");
    ok &= Expect(strstr(deck, "<card id=\"card1\" title=\"Installed\">") != NULL,
                 "the deck has no card titled Installed");
    ok &= Expect(strstr(deck, "Hello from C") != NULL, "the page text is missing");
    if (!ok) fputs(deck, stderr);
    return ok ? 0 : 1;
}
