// Report entry in the main window: the member-count grid, the masters list and
// the checks run when the user leaves a field. The rules themselves live in
// membercounts, masters and fieldchecks; these handlers move values between
// them and the controls.

#include "ui/tsdiappform.h"

#include "entry/fieldchecks.h"
#include "entry/masters.h"
#include "entry/membercounts.h"
#include "ui/dialogs.h"
#include "ui/nummeredit.h"
#include "ui/zahlengrid.h"
#include "ui_tsdiappform.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {

const zor::MastersOrder &mastersOrder()
{
    static const zor::MastersOrder order;
    return order;
}

} // namespace

void TSDIAppForm::wireEntry()
{
    ZahlenGrid::Hooks hooks;
    hooks.keyPress = [this](QChar &key) { ZahlenKeyPress(key); };
    hooks.keyDown = [this](int key, Qt::KeyboardModifiers shift) { ZahlenKeyDown(key, shift); };
    hooks.selectCell = [this](int col, int row, bool &canSelect) {
        ZahlenSelectCell(col, row, canSelect);
    };
    hooks.exit = [this] { ZahlenExit(); };
    hooks.edited = [this] {
        Modified = 1;
        recoveryChange();
    };
    ui->Zahlen->setHooks(std::move(hooks));

    ui->Liste->setSelectionMode(QAbstractItemView::SingleSelection);
    ui->Liste->setSortingEnabled(false); // its own sort compares with case; the list keeps ours
    ui->Liste->setUniformItemSizes(true);
    ui->Liste->setAccessibleName(QStringLiteral("Meisterliste"));
    ui->Liste->setAccessibleDescription(QStringLiteral("Je Eintrag Nachname;Vorname;Dan-Grad"));

    // The up-down only steps the grade: typed digits would set it past its
    // field, which shows the grade and is read-only.
    if (auto *digits = ui->UpDown2->findChild<QLineEdit *>())
        digits->setReadOnly(true);
    ui->UpDown2->setAccessibleName(QString::fromUtf8("Dan-Grad \u00e4ndern"));
    wireMastersText();

    // Grad shows the grade, the spin box steps it; each follows the other.
    connect(ui->UpDown2, qOverload<int>(&QSpinBox::valueChanged), this,
            [this](int v) { ui->Grad->setText(QString::number(v)); });
    connect(ui->Grad, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (const auto v = zor::parseInt32(zor::trimControl(text))) {
            const QSignalBlocker block(ui->UpDown2);
            ui->UpDown2->setValue(qBound(ui->UpDown2->minimum(), *v, ui->UpDown2->maximum()));
        }
    });

    connect(ui->AddBtn, &QPushButton::clicked, this, &TSDIAppForm::AddBtnClick);
    connect(ui->ModBtn, &QPushButton::clicked, this, &TSDIAppForm::ModBtnClick);
    connect(ui->DelBtn, &QPushButton::clicked, this, &TSDIAppForm::DelBtnClick);

    connect(ui->Nummer, &NummerEdit::leftField, this, &TSDIAppForm::NummerControlExit);
    ui->Email->installEventFilter(this);
    ui->Grad->installEventFilter(this);
}

bool TSDIAppForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->Email && event->type() == QEvent::FocusOut) {
        // A context menu, the menu bar or another window taking the focus is no leaving.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Nor is the club number taking back the focus it refused to give up.
        if (!NummerEdit::isNoLeaving(reason) && !ui->Nummer->takingFocusBack())
            EmailExit();
    }
    if (watched == ui->Grad && event->type() == QEvent::KeyPress) {
        // The grade is read-only; the arrow keys step it as its up-down does.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            ui->UpDown2->stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TSDIAppForm::UpdateSums()
{
    // Throws before any label is written when a cell is no whole number.
    const QStringList texts = zor::sumTexts(zor::computeSums(ui->Zahlen->counts()));
    QLabel *const labels[] = {ui->Sum1, ui->Sum2, ui->Sum3, ui->Sum4, ui->Sum5,
                              ui->Sum6, ui->Sum7, ui->MSum, ui->WSum, ui->AllSum};
    // A screen reader hears what each figure sums: "Summe Männer: 41".
    static const QStringList names = [] {
        QStringList n;
        for (int g = 0; g < zor::AgeGroupCount; ++g)
            n << QStringLiteral("Alle, ") + zor::ageGroupLabel(g).simplified();
        n << QString::fromUtf8("Summe M\u00e4nner") << QStringLiteral("Summe Frauen")
          << QStringLiteral("Summe Alle");
        return n;
    }();
    for (int i = 0; i < texts.size(); ++i) {
        labels[i]->setText(texts.at(i));
        labels[i]->setAccessibleName(names.at(i) + QStringLiteral(": ") + texts.at(i));
    }
}

void TSDIAppForm::ZahlenKeyPress(QChar &Key)
{
    if (!zor::isCountKey(Key)) {
        Key = QChar();
        return;
    }
    Modified = 1;
}

void TSDIAppForm::ZahlenKeyDown(int Key, Qt::KeyboardModifiers)
{
    if (Key != Qt::Key_Return && Key != Qt::Key_Enter)
        return;
    if (!guarded([this] { UpdateSums(); }))
        return; // the user stays in the cell that holds no number
    const int row = ui->Zahlen->currentRow();
    const int col = ui->Zahlen->currentColumn();
    const zor::GridCell next = zor::isCountCell(row, col) ? zor::cellAfterEnter({row, col})
                                                          : zor::GridCell{1, 1};
    ui->Zahlen->goToCell(next.row, next.col);
}

void TSDIAppForm::ZahlenSelectCell(int ACol, int ARow, bool &CanSelect)
{
    // A cell that holds no number may always be reached, so that it can be put right.
    if (!zor::parseInt32(ui->Zahlen->cellText(ARow, ACol)))
        return;
    if (!guarded([this] { UpdateSums(); }))
        CanSelect = false;
}

void TSDIAppForm::commitPendingEdit()
{
    ui->Zahlen->commitPendingEdit();
}

void TSDIAppForm::ZahlenExit()
{
    guarded([this] { UpdateSums(); });
}

void TSDIAppForm::AddBtnClick()
{
    const QString surname = zor::trimControl(ui->NName->text());
    const QString firstName = zor::trimControl(ui->VName->text());
    const QString grade = zor::trimControl(ui->Grad->text());
    ui->NName->setText(surname);
    ui->VName->setText(firstName);
    ui->Grad->setText(grade);
    if (surname.isEmpty() || firstName.isEmpty())
        return;
    const QString entry = zor::buildMasterEntry(surname, firstName, grade);
    QListWidget *list = ui->Liste;
    const int at = mastersOrder().insertPosition(
            list->count(), [list](int i) { return list->item(i)->text(); }, entry);
    list->insertItem(at, entry);
    Modified = 1;
    ui->NName->setText(QString());
    ui->VName->setText(QString());
    ui->Grad->setText(QStringLiteral("1"));
    // Ready for the next master.
    ui->VName->setFocus(Qt::OtherFocusReason);
}

int TSDIAppForm::selectedMasterRow() const
{
    // The selection model knows its rows; asking each item would look every
    // one of them up in a long list.
    int row = -1;
    for (const QModelIndex &i : ui->Liste->selectionModel()->selectedIndexes()) {
        if (row < 0 || i.row() < row)
            row = i.row();
    }
    return row;
}

void TSDIAppForm::removeMasterRow(int row)
{
    delete ui->Liste->takeItem(row);
    // No entry stays selected: a second click on Delete or Modify must not
    // take the next one.
    ui->Liste->selectionModel()->clear();
    ui->Liste->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    ui->ModBtn->setEnabled(false);
    ui->DelBtn->setEnabled(false);
}

void TSDIAppForm::ModBtnClick()
{
    const int row = selectedMasterRow();
    if (row < 0)
        return;
    Modified = 1;
    const zor::MasterParts parts = zor::splitMasterEntry(ui->Liste->item(row)->text());
    ui->Grad->setText(parts.grade);
    ui->NName->setText(parts.surname);
    ui->VName->setText(parts.firstName);
    removeMasterRow(row);
}

void TSDIAppForm::DelBtnClick()
{
    const int row = selectedMasterRow();
    if (row < 0)
        return;
    removeMasterRow(row);
    Modified = 1;
}

QStringList TSDIAppForm::masters() const
{
    // Every recovery copy reads the list; asking 100,000 items one by one
    // would stall the window each time. The texts are kept beside the list
    // and follow each of its changes (wireMastersText); anything else the
    // list does makes them be read afresh here.
    if (!m_mastersText) {
        QStringList out;
        out.reserve(ui->Liste->count());
        for (int i = 0; i < ui->Liste->count(); ++i)
            out.append(ui->Liste->item(i)->text());
        m_mastersText = std::move(out);
    }
    return *m_mastersText;
}

void TSDIAppForm::wireMastersText()
{
    QAbstractItemModel *model = ui->Liste->model();
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) {
                if (!m_mastersText)
                    return;
                for (int i = first; i <= last; ++i)
                    m_mastersText->insert(i, ui->Liste->item(i)->text());
            });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int last) {
                if (m_mastersText)
                    m_mastersText->remove(first, last - first + 1);
            });
    const auto forget = [this] { m_mastersText.reset(); };
    // An entry's text changed in place (nothing does that today), a reset or
    // a new order: read afresh.
    connect(model, &QAbstractItemModel::dataChanged, this, forget);
    connect(model, &QAbstractItemModel::modelReset, this, forget);
    connect(model, &QAbstractItemModel::layoutChanged, this, forget);
    connect(model, &QAbstractItemModel::rowsMoved, this, forget);
}

void TSDIAppForm::setMasters(const QStringList &entries)
{
    // All in at once and sorted once: a file may bring thousands of masters.
    const QStringList sorted = mastersOrder().sorted(entries);
    ui->Liste->clear();
    ui->Liste->addItems(sorted);
    m_mastersText = sorted; // what the items now hold, without asking each
}

void TSDIAppForm::NummerControlExit()
{
    if (zor::clubNumberNeedsHint(ui->Nummer->text()))
        zor::Dialogs::current().message(this, zor::clubNumberHintCaption(),
                                        zor::clubNumberHintText());
}

void TSDIAppForm::EmailExit()
{
    // One blank at a time, each written back: every removal is a change of the field.
    QString text = ui->Email->text();
    for (int i = text.indexOf(QLatin1Char(' ')); i >= 0; i = text.indexOf(QLatin1Char(' '))) {
        text.remove(i, 1);
        ui->Email->setText(text);
    }
    if (text.isEmpty())
        return;
    if (!zor::isAcceptableEmail(text))
        zor::Dialogs::current().message(this, zor::emailHintCaption(), zor::emailHintText());
}
