// Splitting a filter's rows over worker threads. Each band of rows is computed by exactly the code
// that computes it on one thread, so the result never depends on how many workers ran.
#pragma once

#include <cstdint>
#include <functional>

namespace vellum {

// How many threads the threaded filters use: 0 (the default) means one per processor, 1 keeps
// all work on the calling thread, n > 1 asks for n workers.
void setImageWorkerCount(int count);
int imageWorkerCount();

// Calls work(begin, end) over consecutive bands covering [0, rows), on up to imageWorkerCount()
// threads (the calling thread takes the last band) and returns when every band is done. Bands are
// never shorter than minRowsPerBand, so small pictures stay on the calling thread.
void forEachRowBand(int rows, int minRowsPerBand, const std::function<void(int begin, int end)>& work);

// The shortest band worth a thread for rows of this width: about 64K pixels.
int minRowsPerBand(int64_t width);

}  // namespace vellum
