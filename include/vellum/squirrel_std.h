/* The Squirrel standard libraries of Vellum (src/squirrel/stdlib/): io, blob, math, system and
 * string, with the auxiliary error handlers. Names and semantics follow the documented Squirrel 3
 * standard library; every library is written against the C API of vellum/squirrel.h only.
 *
 * Each sqstd_register_* function expects a table on top of the stack and adds the library's
 * functions, classes and constants to it (usually the root table). The stack is left as it was.
 *
 * Not provided: sqstd_writeclosuretofile and the Squirrel function writeclosuretofile (the VM does
 * not serialize closures), so loadfile and dofile read source text only. */
#ifndef VELLUM_SQUIRREL_STD_H
#define VELLUM_SQUIRREL_STD_H

#include <stdio.h>

#include <vellum/squirrel.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* SQFILE;

/* ---- io --------------------------------------------------------------------------------------- */
SQRESULT sqstd_register_iolib(HSQUIRRELVM v);
/* Pushes a file object over the stream (a FILE*); with owns nonzero the object closes it. */
SQRESULT sqstd_createfile(HSQUIRRELVM v, SQFILE file, SQBool owns);
/* The FILE* of the file object at idx. */
SQRESULT sqstd_getfile(HSQUIRRELVM v, SQInteger idx, SQFILE* file);
/* Compiles the script file and pushes it as a closure; with printerror nonzero the compiler error
 * handler is told of a syntax error. */
SQRESULT sqstd_loadfile(HSQUIRRELVM v, const SQChar* filename, SQBool printerror);
/* Compiles and runs the script file with the table on top of the stack as `this` (the table stays);
 * with retval nonzero the script's return value is pushed. */
SQRESULT sqstd_dofile(HSQUIRRELVM v, const SQChar* filename, SQBool retval, SQBool printerror);

/* ---- blob ------------------------------------------------------------------------------------- */
SQRESULT sqstd_register_bloblib(HSQUIRRELVM v);
/* Creates a blob of size bytes (zeroed), pushes it and returns its payload (null on failure). */
SQUserPointer sqstd_createblob(HSQUIRRELVM v, SQInteger size);
SQRESULT sqstd_getblob(HSQUIRRELVM v, SQInteger idx, SQUserPointer* ptr);
SQInteger sqstd_getblobsize(HSQUIRRELVM v, SQInteger idx);

/* ---- math, system ----------------------------------------------------------------------------- */
SQRESULT sqstd_register_mathlib(HSQUIRRELVM v);
SQRESULT sqstd_register_systemlib(HSQUIRRELVM v);

/* ---- string ----------------------------------------------------------------------------------- */
SQRESULT sqstd_register_stringlib(HSQUIRRELVM v);
/* Formats like format(): the format string at nformatstringidx and the values after it. The result
 * lies in the VM's scratch pad until the next call that uses it. */
SQRESULT sqstd_format(HSQUIRRELVM v, SQInteger nformatstringidx, SQInteger* outlen, SQChar** output);

/* Regular expressions of the documented syntax. */
typedef struct SQRex SQRex;
typedef struct {
  const SQChar* begin;
  SQInteger len;
} SQRexMatch;
/* Null on failure, with *error set to a static description. */
SQRex* sqstd_rex_compile(const SQChar* pattern, const SQChar** error);
void sqstd_rex_free(SQRex* exp);
/* The whole text matches. */
SQBool sqstd_rex_match(SQRex* exp, const SQChar* text);
SQBool sqstd_rex_search(SQRex* exp, const SQChar* text, const SQChar** out_begin, const SQChar** out_end);
SQBool sqstd_rex_searchrange(SQRex* exp, const SQChar* text_begin, const SQChar* text_end, const SQChar** out_begin,
                             const SQChar** out_end);
/* The number of sub-expressions, the whole match included. */
SQInteger sqstd_rex_getsubexpcount(SQRex* exp);
/* Sub-expression n (0: the whole match) of the last successful match; a group that took no part
 * has a null begin. */
SQBool sqstd_rex_getsubexp(SQRex* exp, SQInteger n, SQRexMatch* subexp);

/* ---- aux -------------------------------------------------------------------------------------- */
/* Installs the compiler and runtime error handlers; both write through the VM's error function
 * (its print function when there is none). */
void sqstd_seterrorhandlers(HSQUIRRELVM v);
/* Writes the call stack and the locals of every level the same way. */
void sqstd_printcallstack(HSQUIRRELVM v);

#ifdef __cplusplus
}
#endif

#endif
