#include "ui/memberimportdialog.h"

#include "core/texts.h"
#include "entry/membercounts.h"
#include "import/memberlistloader.h"
#include "ui/dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <memory>

namespace {

const char *const columnObjectNames[zor::ListColumnCount] = {"SpalteGeburtsdatum",
                                                             "SpalteGeschlecht", "SpalteNachname",
                                                             "SpalteVorname", "SpalteDanGrad"};

// "A", "B", ... "AA": the column letters a spreadsheet program shows.
QString columnLetters(int col)
{
    QString s;
    for (++col; col > 0; col = (col - 1) / 26)
        s.prepend(QChar(u'A' + (col - 1) % 26));
    return s;
}

QString rowLine(const zor::RowNote &n)
{
    return QStringLiteral("Zeile %1: %2").arg(n.row).arg(n.text);
}

QTableWidgetItem *numberItem(const QString &text, bool bold = false)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled);
    if (bold) {
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
    }
    return item;
}

} // namespace

// A list that is read in less than this needs no progress dialog.
constexpr int ProgressDelayMs = 300;

std::optional<zor::Result<MemberImportDialog::Loaded>> MemberImportDialog::load(
        QWidget *parent, const QString &path, const zor::CountRules &rules)
{
    // The readers' plugin is loaded here, on the window's thread; the
    // worker only calls into it.
    if (const zor::Result<void> readers = zor::loadMemberListReaders(); !readers)
        return zor::Result<Loaded>(readers.failure());
    // What the worker and the window share: the worker writes, the window
    // reads once the worker has finished (and the progress while it runs).
    struct Shared
    {
        std::atomic<int> permille{0};
        std::atomic<bool> stop{false};
        std::optional<zor::Result<Loaded>> outcome;
    };
    const auto shared = std::make_shared<Shared>();
    std::unique_ptr<QThread> worker(QThread::create([shared, path, rules] {
        // Reading is most of the work; counting the first view the rest.
        const zor::ProgressHook hook = [&shared](double done) {
            shared->permille = int(done * 900);
            return !shared->stop.load();
        };
        zor::Result<zor::MemberBook> read = zor::readMemberListFileViaPlugin(path, hook);
        if (shared->stop)
            return;
        if (!read) {
            shared->outcome = zor::Result<Loaded>(read.failure());
            return;
        }
        shared->permille = 900;
        zor::Result<zor::FirstCount> first = zor::countFirstSheet(*read, rules);
        if (!first) {
            shared->outcome = zor::Result<Loaded>(first.failure());
            return;
        }
        shared->outcome = zor::Result<Loaded>(
                Loaded{std::move(read).value(), std::move(first).value()});
        shared->permille = 1000;
    }));

    QEventLoop loop;
    // The worker's end comes to this thread as a queued signal.
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    worker->start();
    // For a moment the window keeps painting but takes no input; most lists
    // are read by then.
    QTimer::singleShot(ProgressDelayMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (!worker->isFinished()) {
        QProgressDialog progress(parent);
        progress.setObjectName(QStringLiteral("MitgliederlisteLesen"));
        progress.setWindowTitle(QStringLiteral("Mitgliederliste \u00fcbernehmen"));
        progress.setLabelText(QStringLiteral("Die Mitgliederliste wird gelesen und "
                                             "gez\u00e4hlt \u2026"));
        auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), &progress);
        cancel->setObjectName(QStringLiteral("LesenAbbrechen"));
        progress.setCancelButton(cancel);
        progress.setRange(0, 1000);
        progress.setAutoClose(false);
        progress.setAutoReset(false);
        progress.setMinimumDuration(0);
        progress.setWindowModality(Qt::WindowModal);
        zor::makeReadable(progress);
        QObject::connect(&progress, &QProgressDialog::canceled, &loop,
                         [&] { shared->stop = true; });
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &progress,
                         [&] { progress.setValue(shared->permille.load()); });
        tick.start(50);
        progress.setValue(shared->permille.load());
        progress.show();
        while (!worker->isFinished())
            loop.exec();
    }
    worker->wait();
    if (shared->stop)
        return std::nullopt;
    return std::move(shared->outcome);
}

MemberImportDialog::MemberImportDialog(Loaded list, const QString &fileName,
                                       const zor::CountCells &gridCounts,
                                       const QStringList &currentMasters, const QDate &today,
                                       QWidget *parent)
    : QDialog(parent)
    , m_book(std::move(list.book))
    , m_grid(gridCounts)
    , m_currentMasters(currentMasters)
    , m_today(today)
{
    setObjectName(QStringLiteral("MemberImportDialog"));
    setWindowTitle(QStringLiteral("Mitgliederliste \u00fcbernehmen"));

    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(
            QStringLiteral("Aus der Mitgliederliste %1 werden nur die "
                           "Mitgliederzahlen und die Meister \u00fcbernommen; die Liste selbst "
                           "wird nirgends gespeichert.")
                    .arg(zor::quoted(QFileInfo(fileName).fileName())),
            this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *top = new QHBoxLayout;
    auto *columnsBox = new QGroupBox(QStringLiteral("Spalten der Liste"), this);
    auto *columnsForm = new QFormLayout(columnsBox);
    m_sheetBox = new QComboBox(columnsBox);
    m_sheetBox->setObjectName(QStringLiteral("Tabelle"));
    for (const zor::MemberSheet &s : std::as_const(m_book.sheets))
        m_sheetBox->addItem(s.name);
    columnsForm->addRow(QStringLiteral("Tabellenblatt:"), m_sheetBox);
    if (m_book.sheets.size() < 2) {
        m_sheetBox->setVisible(false);
        columnsForm->labelForField(m_sheetBox)->setVisible(false);
    }
    m_headerBox = new QComboBox(columnsBox);
    m_headerBox->setObjectName(QStringLiteral("UeberschriftZeile"));
    m_headerBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_headerBox->setMinimumContentsLength(18);
    columnsForm->addRow(QStringLiteral("\u00dcberschrift in:"), m_headerBox);
    for (int k = 0; k < zor::ListColumnCount; ++k) {
        auto *box = new QComboBox(columnsBox);
        box->setObjectName(QLatin1StringView(columnObjectNames[k]));
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(18);
        columnsForm->addRow(
                zor::listColumnCaption(static_cast<zor::ListColumn>(k)) + QLatin1Char(':'), box);
        m_columnBoxes[k] = box;
    }
    top->addWidget(columnsBox, 1);

    auto *countBox = new QGroupBox(QStringLiteral("Z\u00e4hlung"), this);
    auto *countForm = new QFormLayout(countBox);
    m_day = new QDateEdit(zor::referenceDayFor(today), countBox);
    m_day->setObjectName(QStringLiteral("Stichtag"));
    m_day->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_day->setCalendarPopup(true);
    countForm->addRow(QStringLiteral("Stichtag (Alter an diesem Tag):"), m_day);
    m_otherSex = new QComboBox(countBox);
    m_otherSex->setObjectName(QStringLiteral("AnderesGeschlecht"));
    m_otherSex->addItem(QStringLiteral("nicht z\u00e4hlen"), int(zor::OtherSex::NotCounted));
    m_otherSex->addItem(QStringLiteral("unter M\u00e4nner z\u00e4hlen"), int(zor::OtherSex::AsMen));
    m_otherSex->addItem(QStringLiteral("unter Frauen z\u00e4hlen"), int(zor::OtherSex::AsWomen));
    countForm->addRow(QStringLiteral("Weder m\u00e4nnlich noch weiblich:"), m_otherSex);
    m_otherSexCount = new QLabel(countBox);
    m_otherSexCount->setObjectName(QStringLiteral("AnderesGeschlechtAnzahl"));
    m_otherSexCount->setWordWrap(true);
    countForm->addRow(m_otherSexCount);
    m_summary = new QLabel(countBox);
    m_summary->setObjectName(QStringLiteral("Zusammenfassung"));
    m_summary->setWordWrap(true);
    countForm->addRow(m_summary);
    top->addWidget(countBox, 1);
    layout->addLayout(top);

    m_preview = new QTableWidget(zor::AgeGroupCount + 1, 6, this);
    m_preview->setObjectName(QStringLiteral("Vorschau"));
    m_preview->setHorizontalHeaderLabels(
            {QStringLiteral("M\u00e4nner"), QStringLiteral("Frauen"), QStringLiteral("Alle"),
             QStringLiteral("M\u00e4nner bisher"), QStringLiteral("Frauen bisher"),
             QStringLiteral("Alle bisher")});
    QStringList groups;
    for (int g = 0; g < zor::AgeGroupCount; ++g)
        groups << zor::ageGroupLabel(g);
    groups << QStringLiteral("Summe");
    m_preview->setVerticalHeaderLabels(groups);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setSelectionMode(QAbstractItemView::NoSelection);
    m_preview->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_preview->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_preview->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_preview, 2);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("Hinweise"));
    m_notCounted = new QListWidget(m_tabs);
    m_notCounted->setObjectName(QStringLiteral("NichtGezaehlt"));
    m_tabs->addTab(m_notCounted, QString());

    // Rows that are counted, but whose date was a guess.
    m_checkPage = new QWidget(m_tabs);
    auto *checkLayout = new QVBoxLayout(m_checkPage);
    auto *checkNote = new QLabel(
            QStringLiteral("<b>Bitte pr\u00fcfen: zweistellige Jahreszahl</b><br>Bei diesen "
                           "Mitgliedern passt das Geburtsjahr in beide Jahrhunderte. Sie sind "
                           "gez\u00e4hlt, wie das Datum gelesen wurde. Stimmt das nicht, "
                           "schreiben Sie das Jahr in der Mitgliederliste vierstellig und "
                           "w\u00e4hlen Sie die Datei noch einmal."),
            m_checkPage);
    checkNote->setObjectName(QStringLiteral("BittePruefenHinweis"));
    checkNote->setWordWrap(true);
    checkLayout->addWidget(checkNote);
    m_toCheck = new QListWidget(m_checkPage);
    m_toCheck->setObjectName(QStringLiteral("BittePruefen"));
    checkLayout->addWidget(m_toCheck);
    m_tabs->addTab(m_checkPage, QString());

    auto *mastersPage = new QWidget(m_tabs);
    m_mastersPage = mastersPage;
    auto *mastersLayout = new QGridLayout(mastersPage);
    m_mastersNote = new QLabel(mastersPage);
    m_mastersNote->setObjectName(QStringLiteral("MeisterHinweis"));
    m_mastersNote->setWordWrap(true);
    mastersLayout->addWidget(m_mastersNote, 0, 0, 1, 2);
    m_add = new QRadioButton(QStringLiteral("Zur Meisterliste hinzuf\u00fcgen"), mastersPage);
    m_add->setObjectName(QStringLiteral("MeisterHinzufuegen"));
    m_replace = new QRadioButton(QStringLiteral("Meisterliste ersetzen"), mastersPage);
    m_replace->setObjectName(QStringLiteral("MeisterErsetzen"));
    auto *modes = new QButtonGroup(mastersPage);
    modes->addButton(m_add);
    modes->addButton(m_replace);
    // What was typed into the list by hand stays unless the user says otherwise.
    m_add->setChecked(true);
    mastersLayout->addWidget(m_add, 1, 0);
    mastersLayout->addWidget(m_replace, 1, 1);
    m_newMasters = new QListWidget(mastersPage);
    m_newMasters->setObjectName(QStringLiteral("NeueMeister"));
    mastersLayout->addWidget(new QLabel(QStringLiteral("Kommen in die Meisterliste:"), mastersPage),
                             2, 0);
    mastersLayout->addWidget(m_newMasters, 3, 0);
    m_mastersNotes = new QListWidget(mastersPage);
    m_mastersNotes->setObjectName(QStringLiteral("MeisterNichtUebernommen"));
    mastersLayout->addWidget(
            new QLabel(QStringLiteral("Nicht \u00fcbernommen, doppelt:"), mastersPage), 2, 1);
    mastersLayout->addWidget(m_mastersNotes, 3, 1);
    m_tabs->addTab(mastersPage, QString());
    layout->addWidget(m_tabs, 2);

    auto *buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("Buttons"));
    m_take = buttons->addButton(QStringLiteral("\u00dcbernehmen"), QDialogButtonBox::AcceptRole);
    m_take->setObjectName(QStringLiteral("Uebernehmen"));
    QPushButton *cancel = buttons->addButton(QStringLiteral("Abbrechen"),
                                             QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Abbrechen"));
    m_take->setDefault(true);
    m_take->setAutoDefault(true);
    cancel->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // A screen reader names each choice by its label, not by what it holds
    // now; the lists and the preview by what they show.
    for (QFormLayout *form : {columnsForm, countForm}) {
        for (int row = 0; row < form->rowCount(); ++row) {
            QLayoutItem *item = form->itemAt(row, QFormLayout::FieldRole);
            auto *label = qobject_cast<QLabel *>(
                    item && item->widget() ? form->labelForField(item->widget()) : nullptr);
            if (!label)
                continue;
            const QString name = label->text().remove(QLatin1Char('&')).remove(QLatin1Char(':'));
            item->widget()->setAccessibleName(name);
            if (auto *box = qobject_cast<QComboBox *>(item->widget()))
                box->view()->setAccessibleName(name);
        }
    }
    m_preview->setAccessibleName(QStringLiteral("Neue und bisherige Mitgliederzahlen"));
    m_notCounted->setAccessibleName(QStringLiteral("Nicht gez\u00e4hlte Zeilen"));
    m_toCheck->setAccessibleName(QStringLiteral("Bitte pr\u00fcfen"));
    m_newMasters->setAccessibleName(QStringLiteral("Kommen in die Meisterliste"));
    m_mastersNotes->setAccessibleName(QStringLiteral("Nicht \u00fcbernommen, doppelt"));

    // Where the user starts: the first sheet that can be counted, as it was
    // counted while the list was read.
    m_sheet = std::clamp(list.first.sheet, 0,
                         int(std::max<qsizetype>(1, m_book.sheets.size())) - 1);
    m_sheetBox->setCurrentIndex(m_sheet);
    if (!m_book.sheets.isEmpty())
        showLayout(list.first.columns);
    m_result = std::move(list.first.result);
    showCounts();
    showMasters();

    connect(m_sheetBox, &QComboBox::currentIndexChanged, this, &MemberImportDialog::chooseSheet);
    connect(m_headerBox, &QComboBox::currentIndexChanged, this, &MemberImportDialog::chooseHeader);
    for (QComboBox *box : m_columnBoxes)
        connect(box, &QComboBox::currentIndexChanged, this, &MemberImportDialog::recount);
    connect(m_day, &QDateEdit::dateChanged, this, &MemberImportDialog::recount);
    connect(m_otherSex, &QComboBox::currentIndexChanged, this, &MemberImportDialog::recount);
    connect(m_add, &QRadioButton::toggled, this, &MemberImportDialog::showMasters);
    resize(820, 720);
}

void MemberImportDialog::chooseSheet(int index)
{
    if (index < 0 || index >= m_book.sheets.size())
        return;
    m_sheet = index;
    showLayout(zor::recognizeLayout(m_book.sheets[index], m_day->date()));
    recount();
}

void MemberImportDialog::chooseHeader(int boxIndex)
{
    const zor::MemberSheet &sheet = m_book.sheets[m_sheet];
    const int header = m_headerBox->itemData(boxIndex).toInt();
    if (header < 0 || header >= sheet.rows.size())
        return;
    showLayout(zor::recognizeColumnsUnder(sheet, header, m_day->date()));
    recount();
}

// Puts a header row and columns into the choices, without counting.
void MemberImportDialog::showLayout(const zor::ColumnChoice &layout)
{
    const zor::MemberSheet &sheet = m_book.sheets[m_sheet];
    {
        const QSignalBlocker quiet(m_headerBox);
        m_headerBox->clear();
        const int rows = int(std::min<qsizetype>(sheet.rows.size(), zor::HeaderSearchRows));
        for (int i = 0; i < rows; ++i) {
            QStringList texts;
            for (const zor::ListCell &c : sheet.rows[i].cells) {
                if (!c.isBlank())
                    texts << c.display().simplified();
            }
            QString shown = texts.join(QStringLiteral(" | "));
            if (shown.size() > 60)
                shown = shown.left(60) + QStringLiteral("\u2026");
            m_headerBox->addItem(
                    QStringLiteral("Zeile %1: %2").arg(sheet.rows[i].number).arg(shown), i);
        }
        m_headerBox->setCurrentIndex(std::max(0, m_headerBox->findData(layout.header)));
    }
    const zor::ListRow *header = layout.header >= 0 && layout.header < sheet.rows.size()
                                         ? &sheet.rows[layout.header]
                                         : nullptr;
    const int columns = sheet.columnCount();
    for (int k = 0; k < zor::ListColumnCount; ++k) {
        QComboBox *box = m_columnBoxes[k];
        const QSignalBlocker quiet(box);
        box->clear();
        box->addItem(QStringLiteral("(keine)"), -1);
        for (int c = 0; c < columns; ++c) {
            QString title = header ? header->cell(c).display().simplified() : QString();
            if (sheet.columnHidden(c))
                title += QStringLiteral(" (ausgeblendet)");
            box->addItem(QStringLiteral("%1: %2").arg(columnLetters(c), title), c);
        }
        box->setCurrentIndex(std::max(0, box->findData(layout.index[k])));
    }
}

zor::ColumnChoice MemberImportDialog::chosenColumns() const
{
    zor::ColumnChoice c;
    c.header = std::max(0, m_headerBox->currentData().toInt());
    for (int k = 0; k < zor::ListColumnCount; ++k)
        c.index[k] = m_columnBoxes[k]->currentData().toInt();
    return c;
}

void MemberImportDialog::recount()
{
    const zor::ColumnChoice columns = chosenColumns();
    const auto other = static_cast<zor::OtherSex>(m_otherSex->currentData().toInt());
    if (m_book.sheets.isEmpty())
        return;
    m_result = zor::countMembers(m_book.sheets[m_sheet], columns,
                                 zor::CountRules{m_day->date(), m_today, other});
    showCounts();
    showMasters();
}

void MemberImportDialog::showCounts()
{
    const bool hasBirth = chosenColumns()[zor::ListColumn::BirthDate] >= 0;
    m_take->setEnabled(hasBirth);

    const int others = int(m_result.otherSex.size());
    if (others == 0)
        m_otherSexCount->setText(QStringLiteral("Alle Mitglieder sind als m\u00e4nnlich oder "
                                                "weiblich angegeben."));
    else
        m_otherSexCount->setText(
                QStringLiteral("%1 %2 weder als m\u00e4nnlich noch als weiblich angegeben.")
                        .arg(others)
                        .arg(others == 1 ? QStringLiteral("Mitglied ist")
                                         : QStringLiteral("Mitglieder sind")));
    if (!hasBirth)
        m_summary->setText(QStringLiteral("Bitte w\u00e4hlen Sie die Spalte mit den "
                                          "Geburtsdaten."));
    else {
        QString summary = QStringLiteral("%1 Mitglieder gelesen, %2 gez\u00e4hlt, %3 nicht "
                                         "gez\u00e4hlt.")
                                  .arg(m_result.members)
                                  .arg(m_result.counted)
                                  .arg(m_result.notCounted.size());
        if (const qsizetype n = m_result.toCheck.size())
            summary += n == 1 ? QStringLiteral(" Bitte pr\u00fcfen: 1 Mitglied mit zweistelliger "
                                               "Jahreszahl.")
                              : QStringLiteral(" Bitte pr\u00fcfen: %1 Mitglieder mit "
                                               "zweistelliger Jahreszahl.")
                                        .arg(n);
        if (const int n = m_result.hiddenRows)
            summary += n == 1 ? QStringLiteral(" 1 Zeile war ausgeblendet und ist mitgelesen.")
                              : QStringLiteral(" %1 Zeilen waren ausgeblendet und sind "
                                               "mitgelesen.")
                                        .arg(n);
        m_summary->setText(summary);
    }

    // The sums as the window's labels show them. The grid may hold a cell
    // that is no number yet; its sums are then unknown.
    const zor::CountCells taken = counts();
    const std::optional<zor::MemberSums> newSums = zor::sumsOf(taken);
    const std::optional<zor::MemberSums> oldSums = zor::sumsOf(m_grid);
    const QStringList unknown(zor::AgeGroupCount + 3, QStringLiteral("?"));
    const QStringList newTexts = newSums ? zor::sumTexts(*newSums) : unknown;
    const QStringList oldTexts = oldSums ? zor::sumTexts(*oldSums) : unknown;
    for (int g = 0; g < zor::AgeGroupCount; ++g) {
        m_preview->setItem(g, 0, numberItem(taken[g][zor::Men]));
        m_preview->setItem(g, 1, numberItem(taken[g][zor::Women]));
        m_preview->setItem(g, 2, numberItem(newTexts[g], true));
        m_preview->setItem(g, 3, numberItem(m_grid[g][zor::Men]));
        m_preview->setItem(g, 4, numberItem(m_grid[g][zor::Women]));
        m_preview->setItem(g, 5, numberItem(oldTexts[g]));
    }
    const int sumRow = zor::AgeGroupCount;
    for (int k = 0; k < 3; ++k) {
        m_preview->setItem(sumRow, k, numberItem(newTexts[sumRow + k], true));
        m_preview->setItem(sumRow, 3 + k, numberItem(oldTexts[sumRow + k]));
    }

    m_notCounted->clear();
    for (const zor::RowNote &n : std::as_const(m_result.notCounted))
        m_notCounted->addItem(rowLine(n));
    m_tabs->setTabText(0,
                       QStringLiteral("Nicht gez\u00e4hlt (%1)").arg(m_result.notCounted.size()));

    m_toCheck->clear();
    for (const zor::RowNote &n : std::as_const(m_result.toCheck))
        m_toCheck->addItem(rowLine(n));
    m_tabs->setTabText(m_tabs->indexOf(m_checkPage),
                       QStringLiteral("Bitte pr\u00fcfen (%1)").arg(m_result.toCheck.size()));
}

void MemberImportDialog::showMasters()
{
    m_newMasters->clear();
    m_mastersNotes->clear();
    const bool on = mastersChange();
    m_add->setEnabled(on);
    m_replace->setEnabled(on);
    if (!on) {
        m_plan = zor::MastersPlan{};
        m_mastersNote->setText(QStringLiteral(
                "Keine Spalte f\u00fcr Dan-Grad, Nachname und Vorname gew\u00e4hlt: Die "
                "Meisterliste bleibt, wie sie ist."));
        m_tabs->setTabText(m_tabs->indexOf(m_mastersPage), QStringLiteral("Meister"));
        return;
    }
    m_plan = zor::planMasters(m_currentMasters, m_result.masters, m_replace->isChecked());
    m_mastersNote->setText(
            QStringLiteral("%1 Meister in der Mitgliederliste; in der Meisterliste stehen "
                           "bisher %2 Eintr\u00e4ge, danach %3.")
                    .arg(m_result.masters.size())
                    .arg(m_currentMasters.size())
                    .arg(m_plan.list.size()));
    m_newMasters->addItems(m_plan.added);
    m_mastersNotes->addItems(m_plan.notes);
    for (const zor::RowNote &n : std::as_const(m_result.mastersNotTaken))
        m_mastersNotes->addItem(rowLine(n));
    m_tabs->setTabText(m_tabs->indexOf(m_mastersPage),
                       QStringLiteral("Meister (%1)").arg(m_plan.added.size()));
}

zor::CountCells MemberImportDialog::counts() const
{
    return zor::countTexts(m_result.counts);
}

QStringList MemberImportDialog::masters() const
{
    return mastersChange() ? m_plan.list : m_currentMasters;
}

bool MemberImportDialog::mastersChange() const
{
    const zor::ColumnChoice c = chosenColumns();
    return c[zor::ListColumn::Grade] >= 0 && c[zor::ListColumn::Surname] >= 0
           && c[zor::ListColumn::FirstName] >= 0;
}
