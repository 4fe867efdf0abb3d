/* Calls libsymbolic from C: the header compiles as C and the entry point keeps its promises. */
#include <stdio.h>
#include <string.h>

#include "symbolic.h"

static int failures = 0;

static void Check(int condition, const char* what) {
    if (!condition) {
        printf("FAILED: %s\n", what);
        ++failures;
    }
}

int main(void) {
    char one[1] = {'q'};
    char five[5];
    char thousand[1000];

    Check(symbolic_calculate(NULL, thousand, sizeof thousand) == -1, "null request gives -1");

    /* A one-byte buffer holds only the terminating zero. */
    Check(symbolic_calculate("x*3*x", one, 1) == 4, "1 byte: length of 3*x^2 minus one");
    Check(one[0] == '\0', "1 byte: zero-terminated");

    Check(symbolic_calculate("x*3*x", five, 5) == 4, "5 bytes: length minus one");
    Check(strcmp(five, "3*x^") == 0, "5 bytes: first four characters");

    Check(symbolic_calculate("x*3*x", thousand, 1000) == 5, "1000 bytes: whole length");
    Check(strcmp(thousand, "3*x^2") == 0, "1000 bytes: whole answer");

    Check(symbolic_calculate("(x", thousand, 1000) == -10, "parse error: negative length");
    Check(strcmp(thousand, ") expected") == 0, "parse error: message");

    if (failures == 0) printf("all checks passed\n");
    return failures == 0 ? 0 : 1;
}
