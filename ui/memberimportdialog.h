#pragma once

#include "import/membercount.h"
#include "import/membertable.h"
#include "reportfile/report.h"

#include <QDate>
#include <QDialog>

#include <array>
#include <optional>

class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

// "Mitgliederliste übernehmen": shows what a member list gives before it is
// taken: the header row and the columns used (changeable), the reference
// day, what happens to members of other or unknown sex, the fourteen counts
// beside the grid's, the rows not counted and why, the rows to check, and
// the masters entries. Takes and returns plain values only; the member list
// itself stays in here and is dropped with the dialog.
class MemberImportDialog : public QDialog
{
    Q_OBJECT

public:
    // A member list read from its file and counted as the dialog first shows it.
    struct Loaded
    {
        zor::MemberBook book;
        zor::FirstCount first;
    };

    // Reads the list at `path` and counts it in a thread of its own, so that
    // the window stays responsive; when that takes more than a moment, a
    // progress dialog with "Abbrechen" shows how far it is. Empty when the
    // user stopped it (nothing then changes); else the list or why it could
    // not be read.
    static std::optional<zor::Result<Loaded>> load(QWidget *parent, const QString &path,
                                                   const zor::CountRules &rules);

    MemberImportDialog(Loaded list, const QString &fileName, const zor::CountCells &gridCounts,
                       const QStringList &currentMasters, const QDate &today,
                       QWidget *parent = nullptr);

    // What "Übernehmen" takes: the counts as cell texts, and the whole masters list.
    zor::CountCells counts() const;
    QStringList masters() const;
    bool mastersChange() const; // false when no Dan column is chosen

private:
    void chooseSheet(int index);
    void chooseHeader(int boxIndex);
    void showLayout(const zor::ColumnChoice &layout);
    void recount();
    void showCounts();
    void showMasters();
    zor::ColumnChoice chosenColumns() const;

    zor::MemberBook m_book;
    zor::CountCells m_grid;
    QStringList m_currentMasters;
    QDate m_today;
    int m_sheet = 0;
    zor::CountResult m_result;
    zor::MastersPlan m_plan;

    QComboBox *m_sheetBox = nullptr;
    QComboBox *m_headerBox = nullptr;
    std::array<QComboBox *, zor::ListColumnCount> m_columnBoxes{};
    QDateEdit *m_day = nullptr;
    QComboBox *m_otherSex = nullptr;
    QLabel *m_otherSexCount = nullptr;
    QLabel *m_summary = nullptr;
    QTableWidget *m_preview = nullptr;
    QTabWidget *m_tabs = nullptr;
    QListWidget *m_notCounted = nullptr;
    QWidget *m_checkPage = nullptr;
    QListWidget *m_toCheck = nullptr;
    QWidget *m_mastersPage = nullptr;
    QLabel *m_mastersNote = nullptr;
    QRadioButton *m_replace = nullptr;
    QRadioButton *m_add = nullptr;
    QListWidget *m_newMasters = nullptr;
    QListWidget *m_mastersNotes = nullptr;
    QPushButton *m_take = nullptr;
};
