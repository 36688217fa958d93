#include "app/results_choices.h"

#include <QDateTime>
#include <QTime>

#include "results/results_queries.h"

namespace qlx {

namespace {

std::int64_t StartOfLocalDay(const QDate& day) { return QDateTime(day, QTime(0, 0)).toMSecsSinceEpoch(); }

}  // namespace

const std::vector<VerdictChoice>& VerdictChoices()
{
    static const std::vector<VerdictChoice> choices = [] {
        std::vector<VerdictChoice> c;
        c.push_back({QStringLiteral("すべて"), {}, {}});
        c.push_back({QStringLiteral("OK"), {"OK"}, {}});
        c.push_back(
            {QStringLiteral("NG (すべて)"), std::vector<std::string>(kNgVerdicts.begin(), kNgVerdicts.end()), {}});
        for (const char* ng : kNgVerdicts)
            c.push_back({QString::fromLatin1(ng), {ng}, {}});
        c.push_back({QStringLiteral("リファレンスなし"), {kNoReferenceVerdict}, {}});
        c.push_back({QStringLiteral("中止"), {}, {RunOutcome::Cancelled}});
        c.push_back({QStringLiteral("失敗"), {}, {RunOutcome::Failed}});
        return c;
    }();
    return choices;
}

ResultFilter FilterOf(const FilterChoice& choice)
{
    ResultFilter f;
    if (choice.from)
        f.fromMs = StartOfLocalDay(*choice.from);
    // Up to the end of the last day: before the start of the next.
    if (choice.to)
        f.toMs = StartOfLocalDay(choice.to->addDays(1));
    f.refName = choice.refName;
    const std::vector<VerdictChoice>& verdicts = VerdictChoices();
    if (choice.verdictIndex > 0 && choice.verdictIndex < static_cast<int>(verdicts.size())) {
        f.verdicts = verdicts[static_cast<std::size_t>(choice.verdictIndex)].verdicts;
        f.outcomes = verdicts[static_cast<std::size_t>(choice.verdictIndex)].outcomes;
    }
    return f;
}

}  // namespace qlx
