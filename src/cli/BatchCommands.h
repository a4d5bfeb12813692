#pragma once

#include "BatchControl.h"
#include "Verb.h"

#include <optional>

class Session;
struct SharedBatchState;

// The "batch" verbs of the companion, over the same operations as the batch screens.
namespace BatchCommands {

const VerbGroup& group();

// The latest batch when the batch screen offers `button` for it, made the current batch as the
// button does, with its archive's name; otherwise says why (`refusal` takes the batch number and
// its status) and gives nothing.
struct CurrentBatch {
    BatchListRow row;
    QString arquivo;
};
std::optional<CurrentBatch> latestBatchFor(Session& session, SharedBatchState& state,
                                           bool BatchButtons::*button, const QString& refusal);

} // namespace BatchCommands
