// The main window as the user meets it: pages, fields with their labels,
// tooltips and hints, tab order, menus, toolbar and the about box.

#include "tests/support/formfixture.h"

#include "app/startup.h"
#include "entry/fieldchecks.h"
#include "ui/dialogs.h"
#include "ui/icons.h"
#include "ui/programstyle.h"
#include "ui/taboutbox.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusTipEvent>
#include <QStyleFactory>
#include <QToolButton>
#include <QtTest>

namespace {

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// The label standing beside or above a field: the one whose buddy it is, or
// the nearest label on the same page by position.
QStringList labelTexts(QWidget *page)
{
    QStringList out;
    for (QLabel *l : page->findChildren<QLabel *>())
        out << QString(l->text()).remove(QLatin1Char('&')); // the mnemonic marker is not shown
    return out;
}

// How many pixels of a picture are not transparent.
int inked(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qAlpha(image.pixel(x, y)) > 0;
    return n;
}

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void pagesLabelsAndButtons()
    {
        auto form = zortest::makeForm();
        QStringList titles;
        for (int i = 0; i < zortest::pages(*form)->count(); ++i)
            titles << zortest::pages(*form)->tabText(i);
        QCOMPARE(titles, (QStringList{u("Verein"), u("Mitglieder"), u("Meister"), u("Web/Dojo")}));
        const QStringList verein = labelTexts(zortest::widget<QWidget>(*form, "Verein"));
        for (const char *t : {"Vereinsname (keine Kurzzeichen):", "Vereinsnummer:",
                              "z.B: 0116 (4-Stellig!)", "Code:", "Vorsitzender/Abteilungsleiter:",
                              "Vorname:", "Nachname:", "Strasse:", "Plz:", "Ort:", "Tel:", "Fax: *",
                              "E-M@il: *", "(* = Ausf\u00fcllen nicht erforderlich)"})
            QVERIFY2(verein.contains(u(t)), t);
        const QStringList web = labelTexts(zortest::widget<QWidget>(*form, "Web"));
        for (const char *t : {"Name der Halle: *", "Strasse: *", "Plz:", "Ort: *", "Webseite: *",
                              "http://www.", "(* = Ausf\u00fcllen nicht erforderlich)"})
            QVERIFY2(web.contains(u(t)), t);
        const QStringList meister = labelTexts(zortest::widget<QWidget>(*form, "Meister"));
        for (const char *t : {"Vorname", "Nachname", "Dan-Grad"})
            QVERIFY2(meister.contains(u(t)), t);
        QCOMPARE(zortest::widget<QPushButton>(*form, "AddBtn")->text(), u("Hinzuf\u00fcgen"));
        QCOMPARE(zortest::widget<QPushButton>(*form, "ModBtn")->text(), u("\u00c4ndern"));
        QCOMPARE(zortest::widget<QPushButton>(*form, "DelBtn")->text(), u("L\u00f6schen"));
        // The grade goes from 1 to 10 and stops at either end.
        auto *grade = zortest::widget<QSpinBox>(*form, "UpDown2");
        grade->stepBy(-3);
        QCOMPARE(zortest::widget<QLineEdit>(*form, "Grad")->text(), u("1"));
        grade->stepBy(12);
        QCOMPARE(zortest::widget<QLineEdit>(*form, "Grad")->text(), u("10"));
    }

    void tooltipsAndHints()
    {
        auto form = zortest::makeForm();
        QCOMPARE(zortest::widget<NummerEdit>(*form, "Nummer")->toolTip(),
                 u("Vereinsnummer bitte der Aufforderung zur Quorvane entnehmen ! 4-stellig !"));
        QCOMPARE(
                zortest::widget<QLineEdit>(*form, "Code")->toolTip(),
                u("Code bitte der Aufforderung zur Quorvane entnehmen ! Gro\u00df/kleinschreibung beachten !"));
        QCOMPARE(zortest::widget<QLineEdit>(*form, "Plz")->statusTip(), u("Postleitzahl"));
        QCOMPARE(zortest::widget<QLineEdit>(*form, "Ort")->statusTip(), u("Ort"));
        // The hint and the e-mail check's advice show one and the same example.
        const QString example = u("vorstand@judoclub-musterstadt.de");
        QCOMPARE(zortest::widget<QLineEdit>(*form, "Email")->statusTip(),
                 u("Beispiel: ") + example);
        QVERIFY(zor::emailHintText().contains(u("\n\n  ") + example + u("\n\n")));
        // Only the club number and the code show tooltips among the fields.
        for (int i = 0; i < zor::FieldCount; ++i) {
            if (i == int(zor::Field::Nummer) || i == int(zor::Field::Code))
                continue;
            QVERIFY2(zortest::field(*form, zor::Field(i))->toolTip().isEmpty(),
                     qPrintable(zor::fieldObjectName(i)));
        }
    }

    void tabOrderFollowsTheForm()
    {
        auto form = zortest::makeForm();
        const QList<QList<QWidget *>> chains = {
                {zortest::widget<QLineEdit>(*form, "Vereinsname"),
                 zortest::widget<NummerEdit>(*form, "Nummer"),
                 zortest::widget<QLineEdit>(*form, "Code"),
                 zortest::widget<QLineEdit>(*form, "AVName"),
                 zortest::widget<QLineEdit>(*form, "ANName"),
                 zortest::widget<QLineEdit>(*form, "Strasse"),
                 zortest::widget<QLineEdit>(*form, "Plz"), zortest::widget<QLineEdit>(*form, "Ort"),
                 zortest::widget<QLineEdit>(*form, "Tel"), zortest::widget<QLineEdit>(*form, "Fax"),
                 zortest::widget<QLineEdit>(*form, "Email")},
                {zortest::widget<QLineEdit>(*form, "VName"),
                 zortest::widget<QLineEdit>(*form, "NName"),
                 zortest::widget<QLineEdit>(*form, "Grad"),
                 zortest::widget<QSpinBox>(*form, "UpDown2"),
                 zortest::widget<QPushButton>(*form, "AddBtn"),
                 zortest::widget<QPushButton>(*form, "ModBtn"),
                 zortest::widget<QPushButton>(*form, "DelBtn"),
                 zortest::widget<QListWidget>(*form, "Liste")},
                {zortest::widget<QLineEdit>(*form, "DName"),
                 zortest::widget<QLineEdit>(*form, "DStrasse"),
                 zortest::widget<QLineEdit>(*form, "DPlz"),
                 zortest::widget<QLineEdit>(*form, "DOrt"),
                 zortest::widget<QLineEdit>(*form, "WebAdresse")}};
        for (const auto &chain : chains) {
            for (int i = 0; i + 1 < chain.size(); ++i) {
                QWidget *next = chain[i]->nextInFocusChain();
                // Skip what cannot take the focus and a control's own parts (a spin box's line
                // edit).
                while (next && (next->focusPolicy() == Qt::NoFocus || chain[i]->isAncestorOf(next)))
                    next = next->nextInFocusChain();
                if (next != chain[i + 1] && next && next->parentWidget() == chain[i + 1])
                    next = chain[i + 1];
                QVERIFY2(next == chain[i + 1],
                         qPrintable(chain[i]->objectName() + u(" -> ")
                                    + (next ? next->objectName() : u("nichts"))));
            }
        }
    }

    void menusActionsAndShortcuts()
    {
        auto form = zortest::makeForm();
        QCOMPARE(zortest::widget<QMenu>(*form, "Datei1")->title(), u("&Datei"));
        QCOMPARE(zortest::widget<QMenu>(*form, "Datei1")->menuAction()->statusTip(),
                 u("Dateibefehle"));
        QCOMPARE(zortest::widget<QMenu>(*form, "Hilfe1")->title(), u("&Hilfe"));
        QCOMPARE(zortest::widget<QMenu>(*form, "Hilfe1")->menuAction()->statusTip(),
                 u("Hilfethemen"));

        QStringList datei;
        for (QAction *a : zortest::widget<QMenu>(*form, "Datei1")->actions())
            datei << (a->isSeparator() ? u("-") : a->text());
        QCOMPARE(datei,
                 (QStringList{u("&Neu"), u("\u00d6&ffnen"), u("&Speichern"),
                              u("Speichern &unter..."), u("Mitgliederliste \u00fcbernehmen..."),
                              u("-"), u("Quorvane absenden"), u("-"), u("Datei Drucken"),
                              u("Druckvorschau..."), u("Drucken..."), u("Als PDF speichern..."),
                              u("-"), u("&Beenden")}));
        QStringList hilfe;
        for (QAction *a : zortest::widget<QMenu>(*form, "Hilfe1")->actions())
            hilfe << a->text();
        QCOMPARE(hilfe, (QStringList{u("Hilfe - Inhalt"), u("&Info...")}));

        const struct
        {
            QAction *action;
            const char *tip;
            const char *status;
            const char *keys;
        } rows[] = {
                {zortest::widget<QAction>(*form, "FileNew1"), "Neu", "Neue Datei erstellen",
                 "Strg+N"},
                {zortest::widget<QAction>(*form, "FileOpen1"), "\u00d6ffnen",
                 "Eine Datei \u00f6ffnen", "Strg+O"},
                {zortest::widget<QAction>(*form, "FileSave1"), "Speichern",
                 "Aktuelle Datei speichern", "Strg+S"},
                {zortest::widget<QAction>(*form, "FileSaveAs1"), "Speichern unter",
                 "Eine Datei unter einem anderen Namen speichern", ""},
                {zortest::widget<QAction>(*form, "FileExit1"), "Beenden", "Das Programm beenden",
                 ""},
                {zortest::widget<QAction>(*form, "HelpAbout1"), "Info",
                 "Anzeige von Informationen, Versionsnummer und Copyright-Vermerk", ""},
                {zortest::widget<QAction>(*form, "EMailSchicken"), "Quorvane absenden",
                 "Quorvane per E-Mail versenden", ""},
                {zortest::widget<QAction>(*form, "FilePrint"), "Drucken",
                 "Die gesamte Quorvane f\u00fcr die Eigenen Unterlagen drucken", ""},
        };
        for (const auto &r : rows) {
            QCOMPARE(r.action->toolTip(), u(r.tip));
            QCOMPARE(r.action->statusTip(), u(r.status));
            QCOMPARE(r.action->shortcut().toString(QKeySequence::NativeText), u(r.keys));
        }
    }

    void toolbarHoldsFivePictureButtons()
    {
        auto form = zortest::makeForm();
        const struct
        {
            const char *name;
            QAction *action;
        } buttons[] = {{"NeuBtn", zortest::widget<QAction>(*form, "FileNew1")},
                       {"OpenBtn", zortest::widget<QAction>(*form, "FileOpen1")},
                       {"SaveBtn", zortest::widget<QAction>(*form, "FileSave1")},
                       {"MailBtn", zortest::widget<QAction>(*form, "EMailSchicken")},
                       {"ToolButton1", zortest::widget<QAction>(*form, "FilePrint")}};
        int lastY = -1;
        for (const auto &b : buttons) {
            auto *button = form->findChild<QToolButton *>(QString::fromLatin1(b.name));
            QVERIFY2(button, b.name);
            QCOMPARE(button->defaultAction(), b.action);
            // The picture is drawn when first shown: at the button's size it
            // shows something, highlighted in another ink, greyed when disabled.
            const QIcon icon = b.action->icon();
            const QImage normal = icon.pixmap(button->iconSize()).toImage();
            QCOMPARE(normal.size(), button->iconSize());
            QVERIFY2(inked(normal) > normal.width() * normal.height() / 10, b.name);
            for (const QIcon::Mode mode : {QIcon::Active, QIcon::Disabled})
                QVERIFY2(icon.pixmap(button->iconSize(), mode).toImage() != normal, b.name);
            QVERIFY2(button->y() > lastY, b.name); // stacked top to bottom
            lastY = button->y();
        }
    }

    void overflowArrowsAreTheProgramsOwn()
    {
        // The arrows of a menu bar or toolbar too small for its entries are
        // drawn by the program (Qt's own are image files, and reading them
        // loads every image plugin); every other picture is the desktop style's.
        auto form = zortest::makeForm();
        const QSize size(16, 16);
        const struct
        {
            const char *button;
            Qt::ArrowType towards;
        } arrows[] = {{"qt_menubar_ext_button", Qt::RightArrow},
                      {"qt_toolbar_ext_button", Qt::DownArrow}}; // the toolbar stands upright
        for (const auto &a : arrows) {
            auto *more = form->findChild<QToolButton *>(QString::fromLatin1(a.button));
            QVERIFY2(more, a.button);
            const QImage shown = more->icon().pixmap(size).toImage();
            QVERIFY2(inked(shown) > size.width() * size.height() / 10, a.button);
            QCOMPARE(shown, zor::icons::moreEntries(a.towards).pixmap(size).toImage());
        }
        QVERIFY(zor::icons::moreEntries(Qt::RightArrow).pixmap(size).toImage()
                != zor::icons::moreEntries(Qt::DownArrow).pixmap(size).toImage());
        const std::unique_ptr<QStyle> desktop(QStyleFactory::create(QStringLiteral("Fusion")));
        for (const QStyle::StandardPixmap other :
             {QStyle::SP_MessageBoxWarning, QStyle::SP_DialogOkButton, QStyle::SP_ArrowDown})
            QCOMPARE(QApplication::style()->standardIcon(other).pixmap(size).toImage(),
                     desktop->standardIcon(other).pixmap(size).toImage());
    }

    void menuHintStaysWhileAMenuIsOpen()
    {
        auto form = zortest::makeForm();
        form->setModified(true);
        zortest::idle(*form);
        QCOMPARE(zortest::statusText(*form), u("mod"));
        zortest::widget<QMenu>(*form, "Datei1")->popup(form->mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(zortest::widget<QMenu>(*form, "Datei1")->isVisible());
        QStatusTipEvent tip(zortest::widget<QAction>(*form, "FileSave1")->statusTip());
        QCoreApplication::sendEvent(form.get(), &tip);
        zortest::idle(*form);
        QCOMPARE(zortest::statusText(*form), u("Aktuelle Datei speichern"));
        zortest::widget<QMenu>(*form, "Datei1")->close();
        QTRY_VERIFY(!zortest::widget<QMenu>(*form, "Datei1")->isVisible());
        zortest::idle(*form);
        QCOMPARE(zortest::statusText(*form), u("mod"));
    }

    void aboutBoxShownModallyInTheMiddle()
    {
        auto form = zortest::makeForm();
        // A main window away from the middle: the box goes to the screen's middle.
        form->move(0, 0);
        bool shownModal = false;
        QPoint centre;
        QRect panel;
        QRect okOnPanel;
        QString title;
        QStringList texts;
        // "&Info..." blocks in the box's own loop: look at it from there, then
        // press OK. The box is made when it is first asked for, twice the same.
        for (int round = 0; round < 2; ++round) {
            QTimer::singleShot(0, form.get(), [&] {
                TAboutBox *box = zortest::aboutBox(*form);
                shownModal = box->isVisible() && box->isModal();
                title = box->windowTitle();
                texts.clear();
                for (QLabel *l : box->findChildren<QLabel *>())
                    texts << l->text();
                centre = box->geometry().center();
                auto *p = box->findChild<QWidget *>(u("Panel1"));
                auto *ok = box->findChild<QWidget *>(u("OKButton"));
                if (p && ok && p->isAncestorOf(ok)) {
                    panel = p->geometry();
                    okOnPanel = QRect(ok->mapTo(p, QPoint(0, 0)), ok->size());
                }
                QTest::keyClick(box, Qt::Key_Return);
            });
            shownModal = false;
            zortest::trigger(*form, "HelpAbout1");
            QVERIFY(shownModal);
            QCOMPARE(form->findChildren<TAboutBox *>().size(), 1);
        }
        TAboutBox *box = zortest::aboutBox(*form);
        QVERIFY(!box->isVisible());
        QCOMPARE(box->result(), int(QDialog::Accepted));
        QCOMPARE(title, u("Info"));
        for (const char *t : {"KELVARO", "ZOR-Quorvane", "Version 1.10  - 2002"})
            QVERIFY2(texts.contains(u(t)), t);
        const QPoint screenCentre = form->screen()->availableGeometry().center();
        QVERIFY2((centre - screenCentre).manhattanLength() <= 8, // a window frame may shift it
                 qPrintable(QStringLiteral("box centre %1,%2, screen centre %3,%4")
                                    .arg(centre.x())
                                    .arg(centre.y())
                                    .arg(screenCentre.x())
                                    .arg(screenCentre.y())));
        // The black panel fills the box and the OK button stands on it.
        QCOMPARE(panel, box->rect());
        QVERIFY2(!okOnPanel.isEmpty() && QRect(QPoint(0, 0), panel.size()).contains(okOnPanel),
                 "OK is not on the panel");
    }

    void progressBoxIsReadByItsText()
    {
        // A screen reader on the progress bar hears what is under way, not a bare figure.
        QProgressDialog progress(u("Der Bericht wird f\u00fcr den Drucker vorbereitet..."),
                                 u("Abbrechen"), 0, 3);
        zor::makeReadable(progress);
        auto *bar = progress.findChild<QProgressBar *>();
        QVERIFY(bar);
        QCOMPARE(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name),
                 progress.labelText());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    zor::installGerman(app);
    QApplication::setStyle(new ProgramStyle); // as the program runs
    TstMainWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_mainwindow.moc"
