/* The C API of Vellum's Squirrel 3 virtual machine (src/squirrel/).
 *
 * Names, types and semantics follow the documented Squirrel 3.2 API, in its 64-bit flavour with
 * 32-bit floats: SQInteger is 64 bits, SQFloat is `float`, SQChar is `char`. Type codes use the
 * documented bit layout, so OT_INTEGER is 0x05000002 and OT_STRING is 0x08000010.
 *
 * Stack indices: 1 is the base of the current frame, negative indices count from the top (-1 is
 * the top), 0 is invalid. Every function validates its indices: an index outside the frame makes a
 * function with an SQRESULT fail with an error message (see sq_getlasterror); void functions do
 * nothing, sq_gettype answers OT_NULL and sq_getsize -1.
 *
 * Functions not declared here (sq_writeclosure, sq_readclosure, sq_getmemberhandle, sq_getbyhandle,
 * sq_setbyhandle, sq_tailcall, sq_setclassudsize...) are not provided. */
#ifndef VELLUM_SQUIRREL_H
#define VELLUM_SQUIRREL_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SQUIRREL_VERSION "Squirrel 3.2 (Vellum)"
#define SQUIRREL_VERSION_NUMBER 320

typedef int64_t SQInteger;
typedef uint64_t SQUnsignedInteger;
typedef uint64_t SQHash;
typedef int32_t SQInt32;
typedef uint32_t SQUnsignedInteger32;
typedef float SQFloat;
typedef char SQChar;
typedef SQUnsignedInteger SQBool;
typedef SQInteger SQRESULT;
typedef void* SQUserPointer;
typedef int64_t SQRawObjectVal;

#define SQTrue 1
#define SQFalse 0
#define SQ_OK 0
#define SQ_ERROR (-1)
#define SQ_FAILED(res) ((res) < 0)
#define SQ_SUCCEEDED(res) ((res) >= 0)

#define SQ_VMSTATE_IDLE 0
#define SQ_VMSTATE_RUNNING 1
#define SQ_VMSTATE_SUSPENDED 2

/* sq_setparamscheck: take the parameter count from the type mask. */
#define SQ_MATCHTYPEMASKSTRING (-99999)

/* Raw type bits. */
#define _RT_MASK 0x00FFFFFF
#define _RAW_TYPE(type) ((type) & _RT_MASK)
#define _RT_NULL 0x00000001
#define _RT_INTEGER 0x00000002
#define _RT_FLOAT 0x00000004
#define _RT_BOOL 0x00000008
#define _RT_STRING 0x00000010
#define _RT_TABLE 0x00000020
#define _RT_ARRAY 0x00000040
#define _RT_USERDATA 0x00000080
#define _RT_CLOSURE 0x00000100
#define _RT_NATIVECLOSURE 0x00000200
#define _RT_GENERATOR 0x00000400
#define _RT_USERPOINTER 0x00000800
#define _RT_THREAD 0x00001000
#define _RT_FUNCPROTO 0x00002000
#define _RT_CLASS 0x00004000
#define _RT_INSTANCE 0x00008000
#define _RT_WEAKREF 0x00010000
#define _RT_OUTER 0x00020000

/* Property bits. */
#define SQOBJECT_REF_COUNTED 0x08000000
#define SQOBJECT_NUMERIC 0x04000000
#define SQOBJECT_DELEGABLE 0x02000000
#define SQOBJECT_CANBEFALSE 0x01000000

#define ISREFCOUNTED(t) ((t) & SQOBJECT_REF_COUNTED)

typedef enum tagSQObjectType {
  OT_NULL = (_RT_NULL | SQOBJECT_CANBEFALSE),
  OT_INTEGER = (_RT_INTEGER | SQOBJECT_NUMERIC | SQOBJECT_CANBEFALSE),
  OT_FLOAT = (_RT_FLOAT | SQOBJECT_NUMERIC | SQOBJECT_CANBEFALSE),
  OT_BOOL = (_RT_BOOL | SQOBJECT_CANBEFALSE),
  OT_STRING = (_RT_STRING | SQOBJECT_REF_COUNTED),
  OT_TABLE = (_RT_TABLE | SQOBJECT_REF_COUNTED | SQOBJECT_DELEGABLE),
  OT_ARRAY = (_RT_ARRAY | SQOBJECT_REF_COUNTED),
  OT_USERDATA = (_RT_USERDATA | SQOBJECT_REF_COUNTED | SQOBJECT_DELEGABLE),
  OT_CLOSURE = (_RT_CLOSURE | SQOBJECT_REF_COUNTED),
  OT_NATIVECLOSURE = (_RT_NATIVECLOSURE | SQOBJECT_REF_COUNTED),
  OT_GENERATOR = (_RT_GENERATOR | SQOBJECT_REF_COUNTED),
  OT_USERPOINTER = _RT_USERPOINTER,
  OT_THREAD = (_RT_THREAD | SQOBJECT_REF_COUNTED),
  OT_FUNCPROTO = (_RT_FUNCPROTO | SQOBJECT_REF_COUNTED),
  OT_CLASS = (_RT_CLASS | SQOBJECT_REF_COUNTED),
  OT_INSTANCE = (_RT_INSTANCE | SQOBJECT_REF_COUNTED | SQOBJECT_DELEGABLE),
  OT_WEAKREF = (_RT_WEAKREF | SQOBJECT_REF_COUNTED),
  OT_OUTER = (_RT_OUTER | SQOBJECT_REF_COUNTED)
} SQObjectType;

/* The VM's own object kinds; opaque to API users. */
struct SQVM;
struct SQTable;
struct SQArray;
struct SQString;
struct SQClosure;
struct SQGenerator;
struct SQNativeClosure;
struct SQUserData;
struct SQFunctionProto;
struct SQRefCounted;
struct SQClass;
struct SQInstance;
struct SQWeakRef;
struct SQOuter;
struct SQGCObject;

typedef union tagSQObjectValue {
  struct SQTable* pTable;
  struct SQArray* pArray;
  struct SQClosure* pClosure;
  struct SQOuter* pOuter;
  struct SQGenerator* pGenerator;
  struct SQNativeClosure* pNativeClosure;
  struct SQString* pString;
  struct SQUserData* pUserData;
  SQInteger nInteger;
  SQFloat fFloat;
  SQUserPointer pUserPointer;
  struct SQFunctionProto* pFunctionProto;
  struct SQGCObject* pRefCounted;
  struct SQVM* pThread;
  struct SQClass* pClass;
  struct SQInstance* pInstance;
  struct SQWeakRef* pWeakRef;
  SQRawObjectVal raw;
} SQObjectValue;

typedef struct tagSQObject {
  SQObjectType _type;
  SQObjectValue _unVal;
} SQObject;

typedef SQObject HSQOBJECT;
typedef struct SQVM* HSQUIRRELVM;

typedef struct tagSQStackInfos {
  const SQChar* funcname;
  const SQChar* source;
  SQInteger line;
} SQStackInfos;

typedef struct tagSQFunctionInfo {
  SQUserPointer funcid;
  const SQChar* name;
  const SQChar* source;
  SQInteger line;
} SQFunctionInfo;

typedef SQInteger (*SQFUNCTION)(HSQUIRRELVM);
typedef SQInteger (*SQRELEASEHOOK)(SQUserPointer, SQInteger size);
typedef void (*SQCOMPILERERROR)(HSQUIRRELVM, const SQChar* desc, const SQChar* source, SQInteger line,
                                SQInteger column);
typedef void (*SQPRINTFUNCTION)(HSQUIRRELVM, const SQChar*, ...);
/* event_type is 'l' (line), 'c' (call) or 'r' (return); source and function name may be NULL. */
typedef void (*SQDEBUGHOOK)(HSQUIRRELVM v, SQInteger event_type, const SQChar* source, SQInteger line, const SQChar* funcname);
typedef SQInteger (*SQLEXREADFUNC)(SQUserPointer);

/* ---- virtual machine ---------------------------------------------------------------------- */
HSQUIRRELVM sq_open(SQInteger initialstacksize);
HSQUIRRELVM sq_newthread(HSQUIRRELVM friendvm, SQInteger initialstacksize);
void sq_close(HSQUIRRELVM v);
void sq_seterrorhandler(HSQUIRRELVM v);
void sq_setforeignptr(HSQUIRRELVM v, SQUserPointer p);
SQUserPointer sq_getforeignptr(HSQUIRRELVM v);
void sq_setsharedforeignptr(HSQUIRRELVM v, SQUserPointer p);
SQUserPointer sq_getsharedforeignptr(HSQUIRRELVM v);
void sq_setprintfunc(HSQUIRRELVM v, SQPRINTFUNCTION printfunc, SQPRINTFUNCTION errfunc);
SQPRINTFUNCTION sq_getprintfunc(HSQUIRRELVM v);
SQPRINTFUNCTION sq_geterrorfunc(HSQUIRRELVM v);
SQRESULT sq_suspendvm(HSQUIRRELVM v);
SQRESULT sq_wakeupvm(HSQUIRRELVM v, SQBool resumedret, SQBool retval, SQBool raiseerror, SQBool throwerror);
SQInteger sq_getvmstate(HSQUIRRELVM v);
SQInteger sq_getversion(void);
void sq_pushroottable(HSQUIRRELVM v);
void sq_pushregistrytable(HSQUIRRELVM v);
void sq_pushconsttable(HSQUIRRELVM v);
void sq_setroottable(HSQUIRRELVM v);
void sq_setconsttable(HSQUIRRELVM v);
void sq_move(HSQUIRRELVM dest, HSQUIRRELVM src, SQInteger idx);

/* ---- compiler ----------------------------------------------------------------------------- */
SQRESULT sq_compile(HSQUIRRELVM v, SQLEXREADFUNC read, SQUserPointer p, const SQChar* sourcename,
                    SQBool raiseerror);
SQRESULT sq_compilebuffer(HSQUIRRELVM v, const SQChar* s, SQInteger size, const SQChar* sourcename,
                          SQBool raiseerror);
void sq_enabledebuginfo(HSQUIRRELVM v, SQBool enable);
void sq_notifyallexceptions(HSQUIRRELVM v, SQBool enable);
void sq_setcompilererrorhandler(HSQUIRRELVM v, SQCOMPILERERROR f);

/* ---- stack operations --------------------------------------------------------------------- */
void sq_push(HSQUIRRELVM v, SQInteger idx);
void sq_pop(HSQUIRRELVM v, SQInteger nelemstopop);
void sq_poptop(HSQUIRRELVM v);
void sq_remove(HSQUIRRELVM v, SQInteger idx);
SQInteger sq_gettop(HSQUIRRELVM v);
void sq_settop(HSQUIRRELVM v, SQInteger newtop);
SQRESULT sq_reservestack(HSQUIRRELVM v, SQInteger nsize);
SQInteger sq_cmp(HSQUIRRELVM v);

/* ---- object creation and handling --------------------------------------------------------- */
SQUserPointer sq_newuserdata(HSQUIRRELVM v, SQUnsignedInteger size);
void sq_newtable(HSQUIRRELVM v);
void sq_newtableex(HSQUIRRELVM v, SQInteger initialcapacity);
void sq_newarray(HSQUIRRELVM v, SQInteger size);
void sq_newclosure(HSQUIRRELVM v, SQFUNCTION func, SQInteger nfreevars);
SQRESULT sq_setparamscheck(HSQUIRRELVM v, SQInteger nparamscheck, const SQChar* typemask);
SQRESULT sq_bindenv(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_setclosureroot(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_getclosureroot(HSQUIRRELVM v, SQInteger idx);
void sq_pushstring(HSQUIRRELVM v, const SQChar* s, SQInteger len);
void sq_pushfloat(HSQUIRRELVM v, SQFloat f);
void sq_pushinteger(HSQUIRRELVM v, SQInteger n);
void sq_pushbool(HSQUIRRELVM v, SQBool b);
void sq_pushuserpointer(HSQUIRRELVM v, SQUserPointer p);
void sq_pushnull(HSQUIRRELVM v);
SQObjectType sq_gettype(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_typeof(HSQUIRRELVM v, SQInteger idx);
SQInteger sq_getsize(HSQUIRRELVM v, SQInteger idx);
SQHash sq_gethash(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_getbase(HSQUIRRELVM v, SQInteger idx);
SQBool sq_instanceof(HSQUIRRELVM v);
void sq_tostring(HSQUIRRELVM v, SQInteger idx);
void sq_tobool(HSQUIRRELVM v, SQInteger idx, SQBool* b);
SQRESULT sq_getstring(HSQUIRRELVM v, SQInteger idx, const SQChar** c);
SQRESULT sq_getstringandsize(HSQUIRRELVM v, SQInteger idx, const SQChar** c, SQInteger* size);
SQRESULT sq_getinteger(HSQUIRRELVM v, SQInteger idx, SQInteger* i);
SQRESULT sq_getfloat(HSQUIRRELVM v, SQInteger idx, SQFloat* f);
SQRESULT sq_getbool(HSQUIRRELVM v, SQInteger idx, SQBool* b);
SQRESULT sq_getthread(HSQUIRRELVM v, SQInteger idx, HSQUIRRELVM* thread);
SQRESULT sq_getuserpointer(HSQUIRRELVM v, SQInteger idx, SQUserPointer* p);
SQRESULT sq_getuserdata(HSQUIRRELVM v, SQInteger idx, SQUserPointer* p, SQUserPointer* typetag);
SQRESULT sq_settypetag(HSQUIRRELVM v, SQInteger idx, SQUserPointer typetag);
SQRESULT sq_gettypetag(HSQUIRRELVM v, SQInteger idx, SQUserPointer* typetag);
void sq_setreleasehook(HSQUIRRELVM v, SQInteger idx, SQRELEASEHOOK hook);
SQRELEASEHOOK sq_getreleasehook(HSQUIRRELVM v, SQInteger idx);
SQChar* sq_getscratchpad(HSQUIRRELVM v, SQInteger minsize);
SQRESULT sq_getfunctioninfo(HSQUIRRELVM v, SQInteger level, SQFunctionInfo* fi);
SQRESULT sq_getclosureinfo(HSQUIRRELVM v, SQInteger idx, SQInteger* nparams, SQInteger* nfreevars);
SQRESULT sq_getclosurename(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_setnativeclosurename(HSQUIRRELVM v, SQInteger idx, const SQChar* name);
SQRESULT sq_setinstanceup(HSQUIRRELVM v, SQInteger idx, SQUserPointer p);
SQRESULT sq_getinstanceup(HSQUIRRELVM v, SQInteger idx, SQUserPointer* p, SQUserPointer typetag,
                          SQBool throwerror);
SQRESULT sq_newclass(HSQUIRRELVM v, SQBool hasbase);
SQRESULT sq_createinstance(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_setattributes(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_getattributes(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_getclass(HSQUIRRELVM v, SQInteger idx);
void sq_weakref(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_getdefaultdelegate(HSQUIRRELVM v, SQObjectType t);

/* ---- object manipulation ------------------------------------------------------------------ */
SQRESULT sq_newslot(HSQUIRRELVM v, SQInteger idx, SQBool bstatic);
SQRESULT sq_deleteslot(HSQUIRRELVM v, SQInteger idx, SQBool pushval);
SQRESULT sq_set(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_get(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_rawget(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_rawset(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_rawdeleteslot(HSQUIRRELVM v, SQInteger idx, SQBool pushval);
SQRESULT sq_newmember(HSQUIRRELVM v, SQInteger idx, SQBool bstatic);
SQRESULT sq_rawnewmember(HSQUIRRELVM v, SQInteger idx, SQBool bstatic);
SQRESULT sq_arrayappend(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_arraypop(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_arrayresize(HSQUIRRELVM v, SQInteger idx, SQInteger newsize);
SQRESULT sq_arrayreverse(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_arrayremove(HSQUIRRELVM v, SQInteger idx, SQInteger itemidx);
SQRESULT sq_arrayinsert(HSQUIRRELVM v, SQInteger idx, SQInteger destpos);
SQRESULT sq_setdelegate(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_getdelegate(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_clone(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_setfreevariable(HSQUIRRELVM v, SQInteger idx, SQInteger nval);
SQRESULT sq_next(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_getweakrefval(HSQUIRRELVM v, SQInteger idx);
SQRESULT sq_clear(HSQUIRRELVM v, SQInteger idx);

/* ---- calls -------------------------------------------------------------------------------- */
SQRESULT sq_call(HSQUIRRELVM v, SQInteger params, SQBool retval, SQBool raiseerror);
SQRESULT sq_resume(HSQUIRRELVM v, SQBool retval, SQBool raiseerror);
const SQChar* sq_getlocal(HSQUIRRELVM v, SQUnsignedInteger level, SQUnsignedInteger idx);
SQRESULT sq_getcallee(HSQUIRRELVM v);
const SQChar* sq_getfreevariable(HSQUIRRELVM v, SQInteger idx, SQInteger nval);
SQRESULT sq_throwerror(HSQUIRRELVM v, const SQChar* err);
SQRESULT sq_throwobject(HSQUIRRELVM v);
void sq_reseterror(HSQUIRRELVM v);
SQRESULT sq_getlasterror(HSQUIRRELVM v);

/* ---- raw object handling ------------------------------------------------------------------ */
SQRESULT sq_getstackobj(HSQUIRRELVM v, SQInteger idx, HSQOBJECT* po);
void sq_pushobject(HSQUIRRELVM v, HSQOBJECT obj);
void sq_addref(HSQUIRRELVM v, HSQOBJECT* po);
SQBool sq_release(HSQUIRRELVM v, HSQOBJECT* po);
SQUnsignedInteger sq_getrefcount(HSQUIRRELVM v, HSQOBJECT* po);
void sq_resetobject(HSQOBJECT* po);
const SQChar* sq_objtostring(const HSQOBJECT* o);
SQBool sq_objtobool(const HSQOBJECT* o);
SQInteger sq_objtointeger(const HSQOBJECT* o);
SQFloat sq_objtofloat(const HSQOBJECT* o);
SQUserPointer sq_objtouserpointer(const HSQOBJECT* o);
SQRESULT sq_getobjtypetag(const HSQOBJECT* o, SQUserPointer* typetag);

/* ---- garbage collector and debug ---------------------------------------------------------- */
SQInteger sq_collectgarbage(HSQUIRRELVM v);
SQRESULT sq_resurrectunreachable(HSQUIRRELVM v);
void sq_setdebughook(HSQUIRRELVM v);
void sq_setnativedebughook(HSQUIRRELVM v, SQDEBUGHOOK hook);
SQRESULT sq_stackinfos(HSQUIRRELVM v, SQInteger level, SQStackInfos* si);

/* ---- Vellum additions --------------------------------------------------------------------- */
/* Registers the base library (print, error, assert, array, type, newthread...) in the root table
 * and installs the default delegates; sq_open already does this, the call exists for symmetry
 * with the standard libraries' sqstd_register_* functions. */
SQRESULT sq_registerbaselib(HSQUIRRELVM v);
/* Gives the VM group a budget of loop iterations and calls (0 = unlimited); once it is spent
 * every running call fails with "instruction limit exceeded", which try/catch cannot stop. Calling
 * it again refills the budget. Keeps untrusted scripts (fuzzing) from hanging. */
void sq_setinstructionlimit(HSQUIRRELVM v, SQInteger maxinstructions);
/* Number of live garbage-collected objects of the VM group (for tests and diagnostics). */
SQInteger sq_getlivecount(HSQUIRRELVM v);

/* Convenience macros of the documented API. */
#define sq_isnumeric(o) ((o)._type & SQOBJECT_NUMERIC)
#define sq_istable(o) ((o)._type == OT_TABLE)
#define sq_isarray(o) ((o)._type == OT_ARRAY)
#define sq_isfunction(o) ((o)._type == OT_FUNCPROTO)
#define sq_isclosure(o) ((o)._type == OT_CLOSURE)
#define sq_isgenerator(o) ((o)._type == OT_GENERATOR)
#define sq_isnativeclosure(o) ((o)._type == OT_NATIVECLOSURE)
#define sq_isstring(o) ((o)._type == OT_STRING)
#define sq_isinteger(o) ((o)._type == OT_INTEGER)
#define sq_isfloat(o) ((o)._type == OT_FLOAT)
#define sq_isuserpointer(o) ((o)._type == OT_USERPOINTER)
#define sq_isuserdata(o) ((o)._type == OT_USERDATA)
#define sq_isthread(o) ((o)._type == OT_THREAD)
#define sq_isnull(o) ((o)._type == OT_NULL)
#define sq_isclass(o) ((o)._type == OT_CLASS)
#define sq_isinstance(o) ((o)._type == OT_INSTANCE)
#define sq_isbool(o) ((o)._type == OT_BOOL)
#define sq_isweakref(o) ((o)._type == OT_WEAKREF)
#define sq_type(o) ((o)._type)

#ifdef __cplusplus
}
#endif

#endif
