#include "platform/record/read_batch.h"

#include "platform/record/record_store.h"

namespace qz::record {

ReadBatch::ReadBatch() { internal::BeginReadBatch(); }

ReadBatch::~ReadBatch() { internal::EndReadBatch(); }

void ReleaseBatchLocks(bool only_held_long) { internal::ReleaseBatchLocks(only_held_long); }

}  // namespace qz::record
