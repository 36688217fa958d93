#include "results/result_record.h"

namespace qlx {

const char* OutcomeText(RunOutcome outcome)
{
    switch (outcome) {
    case RunOutcome::Completed: return "completed";
    case RunOutcome::Cancelled: return "cancelled";
    case RunOutcome::Failed: return "failed";
    }
    return "failed";
}

std::optional<RunOutcome> OutcomeFromText(const std::string& text)
{
    for (RunOutcome o : {RunOutcome::Completed, RunOutcome::Cancelled, RunOutcome::Failed})
        if (text == OutcomeText(o))
            return o;
    return std::nullopt;
}

}  // namespace qlx
