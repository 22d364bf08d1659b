#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QCollator;

namespace zor {

// One line of the masters list: surname;first name;grade, nothing around the parts.
QString buildMasterEntry(const QString &surname, const QString &firstName, const QString &grade);

// The parts of an entry, split from the right: the grade after the last ";",
// the first name after the last ";" of what stands before it, the surname
// before that. A part with no ";" where one is looked for stays whole.
struct MasterParts
{
    QString surname;
    QString firstName;
    QString grade;
};
MasterParts splitMasterEntry(const QString &entry);

// The list's order: whole entry texts compared the way a German reader sorts,
// without regard to case (QCollator for German, case-insensitive).
//
// Texts made only of characters a report can hold (Windows-1252), which is
// every text the fields and the report file let in, are compared with a table
// of the collator's own weights, so that the list is sorted without opening
// ICU's collation (about 2 MB at the first report with masters). Any other
// text is compared by the collator itself, made at its first need. One order
// is not to be used by two threads at once.
class MastersOrder
{
public:
    MastersOrder();
    ~MastersOrder();
    MastersOrder(const MastersOrder &) = delete;
    MastersOrder &operator=(const MastersOrder &) = delete;

    bool lessThan(const QString &a, const QString &b) const;

    // Where a new entry goes so that the list stays sorted: after any equal ones.
    int insertPosition(const QStringList &sorted, const QString &entry) const;
    // The same over `count` sorted entries read one at a time by `at`, so
    // that a long list need not be copied.
    int insertPosition(int count, const std::function<QString(int)> &at,
                       const QString &entry) const;

    // The entries sorted once; equal entries keep their order.
    QStringList sorted(const QStringList &entries) const;

private:
    const QCollator &collator() const;

    mutable std::unique_ptr<QCollator> m_collator;
};

} // namespace zor
