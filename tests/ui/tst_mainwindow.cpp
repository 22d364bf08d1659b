// The main window as the user meets it: pages, fields with their labels,
// tooltips and hints, tab order, menus, toolbar and the about box.

#include "tests/support/formfixture.h"

#include "app/startup.h"
#include "entry/fieldchecks.h"
#include "ui/taboutbox.h"
#include "ui_tsdiappform.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
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

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void pagesAndFields()
    {
        auto form = zortest::makeForm();
        auto *ui = form->form();
        QCOMPARE(ui->PgCrtl->count(), 4);
        const QStringList titles{u("Verein"), u("Mitglieder"), u("Meister"), u("Web/Dojo")};
        const QStringList names{u("Verein"), u("Mitglieder"), u("Meister"), u("Web")};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(ui->PgCrtl->tabText(i), titles[i]);
            QCOMPARE(ui->PgCrtl->widget(i)->objectName(), names[i]);
        }
        for (int i = 0; i < zor::FieldCount; ++i) {
            auto *edit = form->findChild<QLineEdit *>(zor::fieldObjectName(i));
            QVERIFY2(edit, qPrintable(zor::fieldObjectName(i)));
            QCOMPARE(edit, form->field(zor::Field(i)));
        }
        const QStringList verein = labelTexts(ui->Verein);
        for (const char *t : {"Vereinsname (keine Kurzzeichen):", "Vereinsnummer:",
                              "z.B: 0116 (4-Stellig!)", "Code:", "Vorsitzender/Abteilungsleiter:",
                              "Vorname:", "Nachname:", "Strasse:", "Plz:", "Ort:", "Tel:", "Fax: *",
                              "E-M@il: *", "(* = Ausf\u00fcllen nicht erforderlich)"})
            QVERIFY2(verein.contains(u(t)), t);
        const QStringList web = labelTexts(ui->Web);
        for (const char *t : {"Name der Halle: *", "Strasse: *", "Plz:", "Ort: *", "Webseite: *",
                              "http://www.", "(* = Ausf\u00fcllen nicht erforderlich)"})
            QVERIFY2(web.contains(u(t)), t);
        QVERIFY(ui->LblHttp->font().bold());
        const QStringList meister = labelTexts(ui->Meister);
        for (const char *t : {"Vorname", "Nachname", "Dan-Grad"})
            QVERIFY2(meister.contains(u(t)), t);
        QCOMPARE(ui->AddBtn->text(), u("Hinzuf\u00fcgen"));
        QCOMPARE(ui->ModBtn->text(), u("\u00c4ndern"));
        QCOMPARE(ui->DelBtn->text(), u("L\u00f6schen"));
        QVERIFY(ui->Grad->isReadOnly());
        QCOMPARE(ui->UpDown2->minimum(), 1);
        QCOMPARE(ui->UpDown2->maximum(), 10);
        QVERIFY(!ui->UpDown2->wrapping());
        for (const char *n :
             {"Sum1", "Sum2", "Sum3", "Sum4", "Sum5", "Sum6", "Sum7", "MSum", "WSum", "AllSum"})
            QVERIFY2(form->sumLabel(n), n);
        QVERIFY(ui->AllSum->font().bold());
    }

    void tooltipsAndHints()
    {
        auto form = zortest::makeForm();
        auto *ui = form->form();
        QCOMPARE(ui->Nummer->toolTip(),
                 u("Vereinsnummer bitte der Aufforderung zur Quorvane entnehmen ! 4-stellig !"));
        QCOMPARE(
                ui->Code->toolTip(),
                u("Code bitte der Aufforderung zur Quorvane entnehmen ! Gro\u00df/kleinschreibung beachten !"));
        QCOMPARE(ui->Plz->statusTip(), u("Postleitzahl"));
        QCOMPARE(ui->Ort->statusTip(), u("Ort"));
        QVERIFY(ui->Email->statusTip().startsWith(u("Beispiel: ")));
        QVERIFY(ui->Email->statusTip().contains(u("@")));
        QVERIFY(ui->Email->statusTip().endsWith(u(".de")));
        // The hint and the e-mail check's advice show one and the same example.
        const QString example = ui->Email->statusTip().mid(u("Beispiel: ").size());
        QCOMPARE(example, u("vorstand@judoclub-musterstadt.de"));
        QVERIFY(zor::emailHintText().contains(u("\n\n  ") + example + u("\n\n")));
        // Only the club number and the code show tooltips among the fields.
        for (int i = 0; i < zor::FieldCount; ++i) {
            if (i == int(zor::Field::Nummer) || i == int(zor::Field::Code))
                continue;
            QVERIFY2(form->field(zor::Field(i))->toolTip().isEmpty(),
                     qPrintable(zor::fieldObjectName(i)));
        }
    }

    void tabOrderFollowsTheForm()
    {
        auto form = zortest::makeForm();
        auto *ui = form->form();
        const QList<QList<QWidget *>> chains = {
                {ui->Vereinsname, ui->Nummer, ui->Code, ui->AVName, ui->ANName, ui->Strasse,
                 ui->Plz, ui->Ort, ui->Tel, ui->Fax, ui->Email},
                {ui->VName, ui->NName, ui->Grad, ui->UpDown2, ui->AddBtn, ui->ModBtn, ui->DelBtn,
                 ui->Liste},
                {ui->DName, ui->DStrasse, ui->DPlz, ui->DOrt, ui->WebAdresse}};
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
        auto *ui = form->form();
        QCOMPARE(ui->Datei1->title(), u("&Datei"));
        QCOMPARE(ui->Datei1->menuAction()->statusTip(), u("Dateibefehle"));
        QCOMPARE(ui->Hilfe1->title(), u("&Hilfe"));
        QCOMPARE(ui->Hilfe1->menuAction()->statusTip(), u("Hilfethemen"));

        QStringList datei;
        for (QAction *a : ui->Datei1->actions())
            datei << (a->isSeparator() ? u("-") : a->text());
        QCOMPARE(datei,
                 (QStringList{u("&Neu"), u("\u00d6&ffnen"), u("&Speichern"),
                              u("Speichern &unter..."), u("Mitgliederliste \u00fcbernehmen..."),
                              u("-"), u("Quorvane absenden"), u("-"), u("Datei Drucken"),
                              u("Druckvorschau..."), u("Drucken..."), u("Als PDF speichern..."),
                              u("-"), u("&Beenden")}));
        QStringList hilfe;
        for (QAction *a : ui->Hilfe1->actions())
            hilfe << a->text();
        QCOMPARE(hilfe, (QStringList{u("Hilfe - Inhalt"), u("&Info...")}));

        const struct
        {
            QAction *action;
            const char *tip;
            const char *status;
            const char *keys;
        } rows[] = {
                {ui->FileNew1, "Neu", "Neue Datei erstellen", "Strg+N"},
                {ui->FileOpen1, "\u00d6ffnen", "Eine Datei \u00f6ffnen", "Strg+O"},
                {ui->FileSave1, "Speichern", "Aktuelle Datei speichern", "Strg+S"},
                {ui->FileSaveAs1, "Speichern unter",
                 "Eine Datei unter einem anderen Namen speichern", ""},
                {ui->FileExit1, "Beenden", "Das Programm beenden", ""},
                {ui->HelpAbout1, "Info",
                 "Anzeige von Informationen, Versionsnummer und Copyright-Vermerk", ""},
                {ui->EMailSchicken, "Quorvane absenden", "Quorvane per E-Mail versenden", ""},
                {ui->FilePrint, "Drucken",
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
        auto *ui = form->form();
        QCOMPARE(ui->ToolBar1->orientation(), Qt::Vertical);
        QCOMPARE(form->toolBarArea(ui->ToolBar1), Qt::LeftToolBarArea);
        const struct
        {
            const char *name;
            QAction *action;
        } buttons[] = {{"NeuBtn", ui->FileNew1},
                       {"OpenBtn", ui->FileOpen1},
                       {"SaveBtn", ui->FileSave1},
                       {"MailBtn", ui->EMailSchicken},
                       {"ToolButton1", ui->FilePrint}};
        int lastY = -1;
        for (const auto &b : buttons) {
            auto *button = form->findChild<QToolButton *>(QString::fromLatin1(b.name));
            QVERIFY2(button, b.name);
            QCOMPARE(button->defaultAction(), b.action);
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
            QVERIFY(!b.action->icon().isNull());
            QVERIFY2(button->y() > lastY, b.name); // stacked top to bottom
            lastY = button->y();
        }
    }

    void menuHintStaysWhileAMenuIsOpen()
    {
        auto form = zortest::makeForm();
        auto *ui = form->form();
        form->Modified = 1;
        zortest::idle(*form);
        QCOMPARE(zortest::statusText(*form), u("mod"));
        ui->Datei1->popup(form->mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(ui->Datei1->isVisible());
        QStatusTipEvent tip(ui->FileSave1->statusTip());
        QCoreApplication::sendEvent(form.get(), &tip);
        zortest::idle(*form);
        QCOMPARE(zortest::statusText(*form), u("Aktuelle Datei speichern"));
        ui->Datei1->close();
        QTRY_VERIFY(!ui->Datei1->isVisible());
        zortest::idle(*form);
        QCOMPARE(zortest::statusText(*form), u("mod"));
    }

    void aboutBox()
    {
        auto form = zortest::makeForm();
        TAboutBox *box = form->aboutBox();
        QVERIFY(box);
        QVERIFY(!box->isVisible());
        QCOMPARE(box->windowTitle(), u("Info"));
        QCOMPARE(box->size(), QSize(314, 208));
        QStringList texts;
        for (QLabel *l : box->findChildren<QLabel *>())
            texts << l->text();
        for (const char *t : {"KELVARO", "ZOR-Quorvane", "Version 1.10  - 2002"})
            QVERIFY2(texts.contains(u(t)), t);
        // "&Info..." shows it modally; OK closes it.
        QTimer::singleShot(0, box, [box] {
            QVERIFY(box->isVisible());
            QTest::keyClick(box, Qt::Key_Return);
        });
        form->form()->HelpAbout1->trigger();
        QVERIFY(!box->isVisible());
        QCOMPARE(box->result(), int(QDialog::Accepted));
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    zor::installGerman(app);
    TstMainWindow t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_mainwindow.moc"
