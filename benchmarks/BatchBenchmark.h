#pragma once

#include <QString>
#include <cstdint>

// Times the batch preparation on a generated register, in one run on one database, against the
// bare difference statements of the same state (rows read and discarded), and prints each as a
// ratio with the peak memory:
//   (a) the first batch: everything an inclusion;
//   (b) a partial batch after the replicas were brought level and `changedPercent` of the
//       certificates changed;
//   (c) a complete batch.
// Returns 0 when every preparation succeeded.
int runBatchBenchmark(int certificates, std::uint32_t seed, double changedPercent,
                      const QString& sampleReferenceSql);
