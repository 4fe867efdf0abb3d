/* The one entry point of libsymbolic. Compiles as C and as C++. */
#ifndef ZORVAT_SYMBOLIC_H
#define ZORVAT_SYMBOLIC_H

#ifdef __cplusplus
extern "C" {
#endif

/* Answers one request in result (NUL-terminated, at most resultSize bytes).
   Returns the answer's length, or minus the length of an error text. */
__attribute__((visibility("default"))) int symbolic_calculate(const char* request, char* result,
                                                              int resultSize);

#ifdef __cplusplus
}
#endif

#endif
