// Default delegates of tables and arrays.
#include <algorithm>

#include "squirrel/sq_native_support.h"

namespace sqvm {

SQInteger delegateToString(HSQUIRRELVM v);
SQInteger delegateWeakRef(HSQUIRRELVM v);

namespace {

SQTable* table(HSQUIRRELVM v) { return arg(v, 0)._unVal.pTable; }
SQArray* array(HSQUIRRELVM v) { return arg(v, 0)._unVal.pArray; }

// ---- shared by tables, classes and instances ----
SQInteger objRawGet(HSQUIRRELVM v) {
  Value out;
  if (!rawGet(v, arg(v, 0), arg(v, 1), out)) {
    if (arg(v, 0)._type == OT_TABLE || arg(v, 0)._type == OT_ARRAY) return ret(v, nullValue());
    return nativeBody(v, [&]() -> SQInteger { missingIndex(v, arg(v, 1)); });
  }
  return ret(v, out);
}
SQInteger objRawSet(HSQUIRRELVM v) {
  return nativeBody(v, [&] {
    const Value self = arg(v, 0);
    if (self._type == OT_CLASS) {
      addMember(v, self._unVal.pClass, arg(v, 1), arg(v, 2), nullValue(), false, true);
    } else if (!rawSet(v, self, arg(v, 1), arg(v, 2))) {
      missingIndex(v, arg(v, 1));
    }
    return ret(v, self);
  });
}
SQInteger objRawIn(HSQUIRRELVM v) {
  Value out;
  return ret(v, boolValue(rawGet(v, arg(v, 0), arg(v, 1), out)));
}

SQInteger tabLen(HSQUIRRELVM v) { return ret(v, intValue(table(v)->count)); }
SQInteger tabRawDelete(HSQUIRRELVM v) {
  Value old = nullValue();
  table(v)->remove(arg(v, 1), &old);
  return ret(v, old);
}
SQInteger tabClear(HSQUIRRELVM v) {
  table(v)->clear();
  return ret(v, arg(v, 0));
}
SQInteger tabSetDelegate(HSQUIRRELVM v) {
  const Value d = arg(v, 1);
  if (d._type != OT_TABLE && d._type != OT_NULL) return fail(v, "only tables can be delegates");
  SQTable* delegate = d._type == OT_TABLE ? d._unVal.pTable : nullptr;
  for (SQTable* t = delegate; t; t = t->delegate)
    if (t == table(v)) return fail(v, "delegate cycle");
  table(v)->delegate = delegate;
  return ret(v, arg(v, 0));
}
SQInteger tabGetDelegate(HSQUIRRELVM v) {
  SQTable* d = table(v)->delegate;
  return ret(v, d ? objectValue(OT_TABLE, d) : nullValue());
}
SQInteger tabFilter(HSQUIRRELVM v) {
  return nativeBody(v, [&] {
    SQTable* src = table(v);
    SQTable* out = newTable(v);
    apiPush(v, objectValue(OT_TABLE, out));
    const Value fn = arg(v, 1);
    Value key, val;
    for (int64_t pos = src->next(0, key, val); pos >= 0; pos = src->next(pos, key, val)) {
      if (!isFalse(call(v, fn, arg(v, 0), {key, val}))) out->set(key, val);
    }
    return SQInteger(1);
  });
}
SQInteger tabKeysOrValues(HSQUIRRELVM v, bool keys) {
  SQTable* src = table(v);
  SQArray* out = newArray(v);
  Value key, val;
  for (int64_t pos = src->next(0, key, val); pos >= 0; pos = src->next(pos, key, val)) out->items.push_back(keys ? key : val);
  return ret(v, objectValue(OT_ARRAY, out));
}
SQInteger tabKeys(HSQUIRRELVM v) { return tabKeysOrValues(v, true); }
SQInteger tabValues(HSQUIRRELVM v) { return tabKeysOrValues(v, false); }

// ---- arrays ----
SQInteger arrLen(HSQUIRRELVM v) { return ret(v, intValue(static_cast<SQInteger>(array(v)->items.size()))); }
SQInteger arrAppend(HSQUIRRELVM v) {
  array(v)->items.push_back(arg(v, 1));
  return ret(v, arg(v, 0));
}
SQInteger arrExtend(HSQUIRRELVM v) {
  const StorageVector<Value> other = arg(v, 1)._unVal.pArray->items;
  if (static_cast<SQInteger>(array(v)->items.size() + other.size()) > kMaxArrayLength) return fail(v, "array too long");
  array(v)->items.insert(array(v)->items.end(), other.begin(), other.end());
  return ret(v, arg(v, 0));
}
SQInteger arrPop(HSQUIRRELVM v) {
  auto& items = array(v)->items;
  if (items.empty()) return fail(v, "empty array");
  const Value last = items.back();
  items.pop_back();
  return ret(v, last);
}
SQInteger arrTop(HSQUIRRELVM v) {
  auto& items = array(v)->items;
  if (items.empty()) return fail(v, "empty array");
  return ret(v, items.back());
}
SQInteger arrInsert(HSQUIRRELVM v) {
  auto& items = array(v)->items;
  const SQInteger at = toInteger(arg(v, 1));
  if (at < 0 || static_cast<size_t>(at) > items.size()) return fail(v, "index out of range");
  items.insert(items.begin() + at, arg(v, 2));
  return ret(v, arg(v, 0));
}
SQInteger arrRemove(HSQUIRRELVM v) {
  auto& items = array(v)->items;
  const SQInteger at = toInteger(arg(v, 1));
  if (at < 0 || static_cast<size_t>(at) >= items.size()) return fail(v, "index out of range");
  const Value old = items[static_cast<size_t>(at)];
  items.erase(items.begin() + at);
  return ret(v, old);
}
SQInteger arrResize(HSQUIRRELVM v) {
  const SQInteger size = toInteger(arg(v, 1));
  if (size < 0 || size > kMaxArrayLength) return fail(v, "size out of range");
  array(v)->items.resize(static_cast<size_t>(size), argCount(v) > 2 ? arg(v, 2) : nullValue());
  return ret(v, arg(v, 0));
}
SQInteger arrReverse(HSQUIRRELVM v) {
  std::reverse(array(v)->items.begin(), array(v)->items.end());
  return ret(v, arg(v, 0));
}
SQInteger arrClear(HSQUIRRELVM v) {
  array(v)->items.clear();
  return ret(v, arg(v, 0));
}
SQInteger arrSlice(HSQUIRRELVM v) {
  const auto& items = array(v)->items;
  const SQInteger length = static_cast<SQInteger>(items.size());
  SQInteger start = toInteger(arg(v, 1));
  SQInteger end = argCount(v) > 2 ? toInteger(arg(v, 2)) : length;
  if (start < 0) start += length;
  if (end < 0) end += length;
  if (start < 0 || end < start || end > length) return fail(v, "slice out of range");
  SQArray* out = newArray(v);
  out->items.assign(items.begin() + start, items.begin() + end);
  return ret(v, objectValue(OT_ARRAY, out));
}
SQInteger arrFind(HSQUIRRELVM v) {
  const auto& items = array(v)->items;
  for (size_t i = 0; i < items.size(); ++i)
    if (equals(items[i], arg(v, 1))) return ret(v, intValue(static_cast<SQInteger>(i)));
  return ret(v, nullValue());
}

// Calls fn with the value, and the index and the array when it takes them.
Value mapCall(HSQUIRRELVM v, const Value& fn, const Value& item, size_t index, const Value& arr) {
  int wanted = 1;
  if (fn._type == OT_CLOSURE) {
    SQFunctionProto* p = fn._unVal.pClosure->proto;
    wanted = p->varargs ? 3 : std::min(3, p->nparams - 1);
  } else if (fn._type == OT_NATIVECLOSURE) {
    const SQInteger n = fn._unVal.pNativeClosure->paramsCheck;
    wanted = n > 0 ? static_cast<int>(std::min<SQInteger>(3, n - 1)) : 1;
  }
  if (wanted >= 3) return call(v, fn, v->roottable, {item, intValue(static_cast<SQInteger>(index)), arr});
  if (wanted == 2) return call(v, fn, v->roottable, {item, intValue(static_cast<SQInteger>(index))});
  return call(v, fn, v->roottable, {item});
}

SQInteger arrMap(HSQUIRRELVM v) {
  return nativeBody(v, [&] {
    SQArray* out = newArray(v);
    apiPush(v, objectValue(OT_ARRAY, out));
    const Value self = arg(v, 0), fn = arg(v, 1);
    const size_t n = self._unVal.pArray->items.size();  // items the callback appends are not visited
    for (size_t i = 0; i < n && i < self._unVal.pArray->items.size(); ++i)
      out->items.push_back(mapCall(v, fn, self._unVal.pArray->items[i], i, self));
    return SQInteger(1);
  });
}
SQInteger arrApply(HSQUIRRELVM v) {
  return nativeBody(v, [&] {
    const Value self = arg(v, 0), fn = arg(v, 1);
    const size_t n = self._unVal.pArray->items.size();
    for (size_t i = 0; i < n && i < self._unVal.pArray->items.size(); ++i) {
      const Value r = mapCall(v, fn, self._unVal.pArray->items[i], i, self);
      if (i < self._unVal.pArray->items.size()) self._unVal.pArray->items[i] = r;
    }
    return ret(v, self);
  });
}
SQInteger arrReduce(HSQUIRRELVM v) {
  return nativeBody(v, [&] {
    const Value self = arg(v, 0), fn = arg(v, 1);
    const auto& items = self._unVal.pArray->items;
    size_t i = 0;
    Value acc;
    if (argCount(v) > 2) {
      acc = arg(v, 2);
    } else {
      if (items.empty()) return ret(v, nullValue());
      acc = items[0];
      i = 1;
    }
    apiPush(v, acc);
    const int64_t slot = v->top - 1;
    const size_t n = items.size();
    for (; i < n && i < self._unVal.pArray->items.size(); ++i) {
      acc = call(v, fn, v->roottable, {acc, self._unVal.pArray->items[i]});
      v->stack[slot] = acc;
    }
    return SQInteger(1);
  });
}
SQInteger arrFilter(HSQUIRRELVM v) {
  return nativeBody(v, [&] {
    SQArray* out = newArray(v);
    apiPush(v, objectValue(OT_ARRAY, out));
    const Value self = arg(v, 0), fn = arg(v, 1);
    const size_t n = self._unVal.pArray->items.size();
    for (size_t i = 0; i < n && i < self._unVal.pArray->items.size(); ++i) {
      const Value item = self._unVal.pArray->items[i];
      if (!isFalse(call(v, fn, self, {intValue(static_cast<SQInteger>(i)), item}))) out->items.push_back(item);
    }
    return SQInteger(1);
  });
}

// Merge sort: stays in bounds whatever the comparison function answers.
SQInteger arrSort(HSQUIRRELVM v) {
  return nativeBody(v, [&] {
    const Value self = arg(v, 0);
    const Value fn = argCount(v) > 1 ? arg(v, 1) : nullValue();
    SQArray* work = newArray(v);
    work->items = self._unVal.pArray->items;
    apiPush(v, objectValue(OT_ARRAY, work));
    SQArray* scratch = newArray(v);
    scratch->items.resize(work->items.size());
    apiPush(v, objectValue(OT_ARRAY, scratch));
    auto less = [&](const Value& a, const Value& b) {
      if (fn._type == OT_NULL) return compare(v, a, b) < 0;
      const Value r = call(v, fn, v->roottable, {a, b});
      if (r._type != OT_INTEGER && r._type != OT_FLOAT) raiseMessage(v, "compare func must return an integer");
      return toInteger(r) < 0;
    };
    StorageVector<Value>& a = work->items;
    StorageVector<Value>& b = scratch->items;
    const size_t n = a.size();
    for (size_t width = 1; width < n; width *= 2) {
      for (size_t lo = 0; lo < n; lo += 2 * width) {
        const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
        size_t i = lo, j = mid, k = lo;
        while (i < mid && j < hi) b[k++] = less(a[j], a[i]) ? a[j++] : a[i++];
        while (i < mid) b[k++] = a[i++];
        while (j < hi) b[k++] = a[j++];
      }
      a.swap(b);
    }
    self._unVal.pArray->items = a;
    v->top -= 2;
    return ret(v, self);
  });
}

const NativeEntry kTableDelegate[] = {
    {"len", tabLen, 1, "t"},
    {"rawget", objRawGet, 2, "t"},
    {"rawset", objRawSet, 3, "t"},
    {"rawdelete", tabRawDelete, 2, "t"},
    {"rawin", objRawIn, 2, "t"},
    {"weakref", delegateWeakRef, 1, nullptr},
    {"tostring", delegateToString, 1, nullptr},
    {"clear", tabClear, 1, "t"},
    {"setdelegate", tabSetDelegate, 2, ".t|o"},
    {"getdelegate", tabGetDelegate, 1, "t"},
    {"filter", tabFilter, 2, "tc"},
    {"keys", tabKeys, 1, "t"},
    {"values", tabValues, 1, "t"},
    {nullptr, nullptr, 0, nullptr}};

const NativeEntry kArrayDelegate[] = {
    {"len", arrLen, 1, "a"},
    {"append", arrAppend, 2, "a"},
    {"push", arrAppend, 2, "a"},
    {"extend", arrExtend, 2, "aa"},
    {"pop", arrPop, 1, "a"},
    {"top", arrTop, 1, "a"},
    {"insert", arrInsert, 3, "an"},
    {"remove", arrRemove, 2, "an"},
    {"resize", arrResize, -2, "an"},
    {"sort", arrSort, -1, "ac"},
    {"reverse", arrReverse, 1, "a"},
    {"slice", arrSlice, -2, "ann"},
    {"weakref", delegateWeakRef, 1, nullptr},
    {"tostring", delegateToString, 1, nullptr},
    {"clear", arrClear, 1, "a"},
    {"map", arrMap, 2, "ac"},
    {"apply", arrApply, 2, "ac"},
    {"reduce", arrReduce, -2, "ac"},
    {"filter", arrFilter, 2, "ac"},
    {"find", arrFind, 2, "a."},
    {nullptr, nullptr, 0, nullptr}};

}  // namespace

SQInteger delegateRawGet(HSQUIRRELVM v) { return objRawGet(v); }
SQInteger delegateRawSet(HSQUIRRELVM v) { return objRawSet(v); }
SQInteger delegateRawIn(HSQUIRRELVM v) { return objRawIn(v); }

void openContainerDelegates(SQVM* v) {
  registerAll(v, v->shared->delegates[DD_TABLE], kTableDelegate);
  registerAll(v, v->shared->delegates[DD_ARRAY], kArrayDelegate);
}

}  // namespace sqvm
