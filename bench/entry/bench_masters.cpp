// Prints how long the masters list takes to take in 1,000 / 10,000 / 100,000
// entries in random order (sorted once, shown), and how long each masters
// action takes in such a list: Add, Modify (after an Add above the entry,
// the case that once took seconds) and Delete. Target: every action under
// 50 ms at 100,000 entries. Usage: bench_masters [repetitions]

#include "bench/benchtime.h"
#include "bench/windowbench.h"
#include "entry/masters.h"
#include "tests/support/formfixture.h"
#include "ui/tsdiappform.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>

namespace {

QStringList makeEntries(int n)
{
    static const char *const surnames[] = {
            "M\u00fcller",  "m\u00fcller", "Mueller", "\u00c4rmel",      "arm", "Zorn", "zander",
            "Stra\u00dfer", "strauss",     "Bauer",   "\u00d6zt\u00fcrk"};
    QRandomGenerator rng(42);
    QStringList out;
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out << zor::buildMasterEntry(
                QString::fromUtf8(surnames[rng.bounded(int(std::size(surnames)))])
                        + QString::number(rng.bounded(100000)),
                QStringLiteral("Vorname%1").arg(rng.bounded(1000)),
                QString::number(1 + rng.bounded(10)));
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    const zorbench::WindowBench bench(argc, argv, 5);
    const int reps = bench.runs;
    TSDIAppForm form;
    form.show();
    zortest::pages(form)->setCurrentWidget(zortest::widget<QWidget>(form, "Meister"));

    for (int n : {1000, 10000, 100000}) {
        const QStringList entries = makeEntries(n);
        const double fill = zorbench::bestMs(reps, [&] {
            zortest::setMasters(form, entries);
            zortest::liste(form)->repaint();
        });
        std::printf("setMasters + repaint   entries=%-7d %10.3f ms\n", n, fill);
        const double add = zorbench::bestMs(reps, [&] {
            zortest::widget<QLineEdit>(form, "NName")->setText(QStringLiteral("Mz"));
            zortest::widget<QLineEdit>(form, "VName")->setText(QStringLiteral("Anna"));
            zortest::click(form, "AddBtn");
            zortest::liste(form)->repaint();
        });
        std::printf("one Add + repaint      entries=%-7d %10.3f ms\n", n, add);
        QListWidget *list = zortest::liste(form);
        const int middle = list->count() / 2;
        const double modify = zorbench::bestMs(reps, [&] {
            // An entry added at the top shifts every row below it.
            zortest::widget<QLineEdit>(form, "NName")->setText(QStringLiteral("Aaa"));
            zortest::widget<QLineEdit>(form, "VName")->setText(QStringLiteral("Anna"));
            zortest::click(form, "AddBtn");
            list->setCurrentRow(middle);
            zortest::click(form, "ModBtn");
            zortest::click(form, "AddBtn"); // puts it back, so each run starts alike
            list->repaint();
        });
        std::printf("Add above + Modify     entries=%-7d %10.3f ms (Modify, then its Add)\n", n,
                    modify);
        const double del = zorbench::bestMs(reps, [&] {
            list->setCurrentRow(middle);
            zortest::click(form, "DelBtn");
            list->repaint();
        });
        std::printf("one Delete + repaint   entries=%-7d %10.3f ms\n", n, del);
        const double delTop = zorbench::bestMs(reps, [&] {
            list->setCurrentRow(0);
            zortest::click(form, "DelBtn");
            list->setCurrentRow(middle);
            zortest::click(form, "ModBtn");
            list->repaint();
        });
        std::printf("Delete above + Modify  entries=%-7d %10.3f ms\n", n, delTop);
        std::fflush(stdout);
    }
    return 0;
}
