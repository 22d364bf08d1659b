#pragma once

#include "import/membercount.h"
#include "import/membertable.h"
#include "reportfile/report.h"

#include <QDate>
#include <QDialog>

#include <array>

class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

// "Mitgliederliste übernehmen": shows what a member list gives before it is
// taken: the columns used (changeable), the reference day, what happens to
// members of other or unknown sex, the fourteen counts beside the grid's,
// the rows not counted and why, and the masters entries. Takes and returns
// plain values only; the member list itself stays in here and is dropped
// with the dialog.
class MemberImportDialog : public QDialog
{
    Q_OBJECT

public:
    using CountCells = std::array<std::array<QString, 2>, zor::AgeGroupCount>;

    MemberImportDialog(zor::MemberBook book, const QString &fileName, const CountCells &gridCounts,
                       const QStringList &currentMasters, const QDate &today,
                       QWidget *parent = nullptr);

    // What "Übernehmen" takes: the counts as cell texts, and the whole masters list.
    CountCells counts() const;
    QStringList masters() const;
    bool mastersChange() const; // false when no Dan column is chosen

    const zor::CountResult &result() const { return m_result; }

private:
    void chooseSheet(int index);
    void recount();
    void showCounts();
    void showMasters();
    zor::ColumnChoice chosenColumns() const;

    zor::MemberBook m_book;
    CountCells m_grid;
    QStringList m_currentMasters;
    int m_sheet = 0;
    zor::CountResult m_result;
    zor::MastersPlan m_plan;

    QComboBox *m_sheetBox = nullptr;
    std::array<QComboBox *, zor::ListColumnCount> m_columnBoxes{};
    QDateEdit *m_day = nullptr;
    QComboBox *m_otherSex = nullptr;
    QLabel *m_otherSexCount = nullptr;
    QLabel *m_summary = nullptr;
    QTableWidget *m_preview = nullptr;
    QTabWidget *m_tabs = nullptr;
    QListWidget *m_notCounted = nullptr;
    QLabel *m_mastersNote = nullptr;
    QRadioButton *m_replace = nullptr;
    QRadioButton *m_add = nullptr;
    QListWidget *m_newMasters = nullptr;
    QListWidget *m_mastersNotes = nullptr;
    QPushButton *m_take = nullptr;
};
