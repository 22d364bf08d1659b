#include "ui/tsdiappform.h"

#include "core/texts.h"
#include "entry/fieldchecks.h"
#include "reportfile/recoverystore.h"
#include "ui/cp1252validator.h"
#include "ui/dialogs.h"
#include "ui/icons.h"
#include "ui/nummeredit.h"
#include "ui/zahlengrid.h"
#include "ui_tsdiappform.h"

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>
#include <QToolTip>

#include <limits>

TSDIAppForm::TSDIAppForm(QWidget *parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TSDIAppForm>())
{
    ui->setupUi(this);
    setWindowTitle(zor::programName());
    // The grey bars between the groups of fields are filled frames: a style
    // sheet would make the window build a style of its own at every start.
    for (QFrame *bar : {ui->Bar1, ui->Bar2, ui->Bar3, ui->Bar4, ui->Bar5}) {
        QPalette grey = bar->palette();
        grey.setColor(QPalette::Window, QColor(0xa0, 0xa0, 0xa0));
        bar->setPalette(grey);
        bar->setAutoFillBackground(true);
    }

    ui->FileNew1->setIcon(zor::icons::newReport());
    ui->FileOpen1->setIcon(zor::icons::openReport());
    ui->FileSave1->setIcon(zor::icons::saveReport());
    ui->EMailSchicken->setIcon(zor::icons::sendReport());
    ui->FilePrint->setIcon(zor::icons::printReport());
    ui->AddBtn->setIcon(zor::icons::addEntry());
    ui->ModBtn->setIcon(zor::icons::modifyEntry());
    ui->DelBtn->setIcon(zor::icons::deleteEntry());
    const struct
    {
        QAction *action;
        const char *name;
    } buttons[] = {{ui->FileNew1, "NeuBtn"},
                   {ui->FileOpen1, "OpenBtn"},
                   {ui->FileSave1, "SaveBtn"},
                   {ui->EMailSchicken, "MailBtn"},
                   {ui->FilePrint, "ToolButton1"}};
    for (const auto &b : buttons) {
        if (QWidget *w = ui->ToolBar1->widgetForAction(b.action))
            w->setObjectName(QString::fromLatin1(b.name));
    }
    ui->ToolBar1->setFixedWidth(61);
    // The button that opens the buttons a short window has no room for.
    if (auto *more = ui->ToolBar1->findChild<QToolButton *>(
                QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("Weitere Werkzeuge"));
    // A menu's hint shows in the status bar while the menu title is highlighted.
    for (QMenu *menu : {ui->Datei1, ui->Hilfe1})
        menu->menuAction()->setStatusTip(menu->statusTip());

    // The help page is looked for in the folder the program was started from.
    m_helpFile = QDir::current().filePath(QStringLiteral("zorhelp.htm"));

    wireFields();
    wireActions();
    wireEntry();
    wireKeyboard();

    guarded([this] { ResetReport(); });
    Modified = 0;
    focusFirstField();

    // The status bar marker and the masters buttons follow the report each
    // time the event queue runs empty.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TSDIAppForm::AppIdle);
}

TSDIAppForm::~TSDIAppForm()
{
    // The recovery copy's thread ends first; it may still report to the window.
    m_recovery.reset();
    // The list still signals while it is torn down, after the texts kept beside it.
    QObject::disconnect(ui->Liste->model(), nullptr, this, nullptr);
}

QLineEdit *TSDIAppForm::field(zor::Field f) const
{
    // Each field's control bears its name.
#define ZOR_FIELD_CONTROL(name) ui->name,
    QLineEdit *const controls[zor::FieldCount] = {ZOR_REPORT_FIELDS(ZOR_FIELD_CONTROL)};
#undef ZOR_FIELD_CONTROL
    return controls[static_cast<int>(f)];
}

void TSDIAppForm::wireFields()
{
    // What the report file cannot hold is left out, and the user told so at
    // the field, at once.
    const auto holdOnlyWhatIsStored = [](QLineEdit *edit) {
        auto *validator = new Cp1252Validator(edit);
        edit->setValidator(validator);
        connect(
                validator, &Cp1252Validator::dropped, edit,
                [edit](const QStringList &characters) {
                    QToolTip::showText(
                            edit->mapToGlobal(edit->inputMethodQuery(Qt::ImCursorRectangle)
                                                      .toRect()
                                                      .bottomLeft()),
                            zor::unstorableCharactersText(characters), edit, QRect(), 10000);
                },
                Qt::QueuedConnection);
    };
    for (int i = 0; i < zor::FieldCount; ++i) {
        QLineEdit *edit = field(static_cast<zor::Field>(i));
        if (edit != ui->Nummer)
            holdOnlyWhatIsStored(edit);
        connect(edit, &QLineEdit::textChanged, this, &TSDIAppForm::AnyControlChange);
    }
    holdOnlyWhatIsStored(ui->VName);
    holdOnlyWhatIsStored(ui->NName);
    // The report file sets no length on a value, so no field may cut one
    // (a line edit would stop at 32,767 characters); only the club number has
    // its four digits.
    for (QLineEdit *edit : findChildren<QLineEdit *>()) {
        if (edit != ui->Nummer)
            edit->setMaxLength(std::numeric_limits<int>::max());
    }
}

void TSDIAppForm::wireActions()
{
    connect(ui->FileNew1, &QAction::triggered, this, &TSDIAppForm::FileNew1Execute);
    connect(ui->FileOpen1, &QAction::triggered, this, &TSDIAppForm::FileOpen1Execute);
    connect(ui->FileSave1, &QAction::triggered, this, &TSDIAppForm::FileSave1Execute);
    connect(ui->FileSaveAs1, &QAction::triggered, this, &TSDIAppForm::FileSaveAs1Execute);
    connect(ui->FileExit1, &QAction::triggered, this, &TSDIAppForm::FileExit1Execute);
    connect(ui->HelpAbout1, &QAction::triggered, this, &TSDIAppForm::HelpAbout1Execute);
    connect(ui->HilfeInhalt, &QAction::triggered, this, &TSDIAppForm::HilfeInhaltExecute);
    connect(ui->EMailSchicken, &QAction::triggered, this, &TSDIAppForm::EMailSchickenExecute);
    connect(ui->FilePrint, &QAction::triggered, this, &TSDIAppForm::FilePrintExecute1);
    connect(ui->FileSavePdf, &QAction::triggered, this, &TSDIAppForm::FileSavePdfExecute);
    connect(ui->FilePreview, &QAction::triggered, this, &TSDIAppForm::FilePreviewExecute);
    connect(ui->FilePrintDialog, &QAction::triggered, this, &TSDIAppForm::FilePrintDialogExecute);
    wireImport(); // "Mitgliederliste übernehmen...": its picture, shortcut and handler
    // The shortcuts work from every page and every field of the window.
    for (QAction *a : {ui->FileNew1, ui->FileOpen1, ui->FileSave1})
        a->setShortcutContext(Qt::WindowShortcut);
}

void TSDIAppForm::wireKeyboard()
{
    // The pages change from anywhere in the window, the grid and its cell
    // editor included.
    const struct
    {
        QKeySequence keys;
        int step;
    } pageKeys[] = {{QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
                    {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                    {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
                    {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
                    {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}};
    for (const auto &k : pageKeys) {
        auto *shortcut = new QShortcut(k.keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        const int step = k.step;
        connect(shortcut, &QShortcut::activated, this, [this, step] {
            const int n = ui->PgCrtl->count();
            ui->PgCrtl->setCurrentIndex((ui->PgCrtl->currentIndex() + step + n) % n);
        });
    }

    // Every field stays wide enough to read what it holds; beyond the
    // smallest size the pages grow with the window.
    for (int i = 0; i < zor::FieldCount; ++i) {
        QLineEdit *edit = field(static_cast<zor::Field>(i));
        if (edit != ui->Nummer)
            edit->setMinimumWidth(120);
    }
    ui->Nummer->setMinimumWidth(ui->Nummer->fontMetrics().horizontalAdvance(QStringLiteral("00000"))
                                + 16);
    ui->VName->setMinimumWidth(120);
    ui->NName->setMinimumWidth(120);
    ui->Grad->setMinimumWidth(ui->Grad->fontMetrics().horizontalAdvance(QStringLiteral("100"))
                              + 12);
    ui->Liste->setMinimumHeight(ui->Liste->fontMetrics().height() * 4);
    // Each sum label holds the widest figure a sum can show (fourteen counts
    // at the negative limit) in bold; the labels right of the grid grow to the right, those
    // under its columns to the left, so their figures stay under the counts.
    for (QLabel *sum : {ui->Sum1, ui->Sum2, ui->Sum3, ui->Sum4, ui->Sum5, ui->Sum6, ui->Sum7,
                        ui->MSum, ui->WSum, ui->AllSum}) {
        QFont bold = sum->font();
        bold.setBold(true);
        const int wanted = QFontMetrics(bold).horizontalAdvance(QStringLiteral("-30064771072"))
                           + 2 * sum->margin() + 4;
        QRect g = sum->geometry();
        if (g.width() >= wanted)
            continue;
        if (sum == ui->MSum || sum == ui->WSum)
            g.setLeft(g.right() - wanted + 1);
        else
            g.setWidth(wanted);
        sum->setGeometry(g);
    }
    // The member page places its grid and sums itself: all of them must show.
    QRect members;
    for (QWidget *w :
         ui->Mitglieder->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        members |= w->geometry();
    ui->Mitglieder->setMinimumSize(members.right() + 12, members.bottom() + 12);
    setMinimumSize(minimumSizeHint().expandedTo(QSize(480, 360)));
}

void TSDIAppForm::focusFirstField()
{
    // A new or opened report starts at the first field of the page shown.
    QWidget *page = ui->PgCrtl->currentWidget();
    QWidget *target = page == ui->Verein ? ui->Vereinsname : nullptr;
    for (QWidget *w = page ? page->nextInFocusChain() : nullptr; !target && w && w != page;
         w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled())
            target = w;
    }
    if (!target)
        return;
    // The program moves the focus here: that is no leaving of the club number.
    const QSignalBlocker quiet(ui->Nummer);
    target->setFocus(Qt::OtherFocusReason);
}

zor::Report TSDIAppForm::currentReport() const
{
    zor::Report r;
    for (int i = 0; i < zor::FieldCount; ++i)
        r.texts[i] = field(static_cast<zor::Field>(i))->text();
    r.counts = ui->Zahlen->counts();
    r.masters = masters();
    return r;
}

void TSDIAppForm::putReport(const zor::Report &report)
{
    for (int i = 0; i < zor::FieldCount; ++i) {
        // A value already there is left alone: the club number's mask would
        // take even the same text for a change.
        QLineEdit *edit = field(static_cast<zor::Field>(i));
        if (edit->text() != report.texts[i])
            edit->setText(report.texts[i]);
    }
    ui->Zahlen->setCounts(report.counts);
    setMasters(report.masters);
}

void TSDIAppForm::showReport(const zor::Report &report)
{
    putReport(report);
    guarded([this] { UpdateSums(); });
}

void TSDIAppForm::showError(const QString &message)
{
    zor::Dialogs::current().error(this, message);
}

void TSDIAppForm::AnyControlChange()
{
    Modified = 1;
}

void TSDIAppForm::closeEvent(QCloseEvent *event)
{
    commitPendingEdit(); // a count still being typed is part of what the close query may save
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose) {
        // A normal end: whatever was not saved, the user chose to leave.
        discardRecovery();
        event->accept();
    } else
        event->ignore();
}
