// What each kind of object holds, for the collector's live size, and the figures it keeps.
#include "squirrel/sq_memory.h"

#include "squirrel/sq_array.h"
#include "squirrel/sq_class.h"
#include "squirrel/sq_function.h"
#include "squirrel/sq_generator.h"
#include "squirrel/sq_shared_state.h"
#include "squirrel/sq_table.h"
#include "squirrel/sq_userdata.h"
#include "squirrel/sq_vm.h"

namespace {

template <class Vector>
size_t storage(const Vector& v) {
  return v.capacity() * sizeof(typename Vector::value_type);
}

}  // namespace

size_t SQArray::footprint() const { return sizeof(*this) + storage(items); }
size_t SQTable::footprint() const { return sizeof(*this) + size_t{capacity} * sizeof(Slot); }
size_t SQClass::footprint() const { return sizeof(*this) + storage(fields) + storage(methods); }
size_t SQInstance::footprint() const { return sizeof(*this) + storage(fields); }
size_t SQOuter::footprint() const { return sizeof(*this); }
size_t SQClosure::footprint() const { return sizeof(*this) + storage(outers) + storage(defaults); }
size_t SQNativeClosure::footprint() const { return sizeof(*this) + storage(outers) + storage(typeMasks); }
size_t SQGenerator::footprint() const { return sizeof(*this) + storage(registers) + storage(traps); }
size_t SQUserData::footprint() const { return headerSize() + static_cast<size_t>(size); }

size_t SQFunctionProto::footprint() const {
  return sizeof(*this) + storage(code) + storage(constants) + storage(children) + storage(outers) + storage(locals) +
         storage(lines) + storage(parameterNames);
}

size_t SQVM::footprint() const {
  return sizeof(*this) + static_cast<size_t>(stackCapacity) * sizeof(Value) + storage(frames) + storage(traps);
}

namespace sqvm {

MemoryUse memoryUse(HSQUIRRELVM v) {
  SharedState& state = *v->shared;
  const size_t since = state.notePeak();
  return {state.liveBytes, state.liveBytes + since, state.peakBytes};
}

}  // namespace sqvm
