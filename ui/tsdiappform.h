#pragma once

#include "reportfile/report.h"
#include "reportfile/safefile.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace Ui {
class TSDIAppForm;
}

class QLineEdit;
class QPrinter;
class QTimer;
class TAboutBox;
namespace zor {
class RecoveryStore;
struct RecoveryCopy;
struct PrintLayout;
} // namespace zor

// The one main window. Its controls hold the report; the handlers move values
// between the controls and the plain units in reportfile/, entry/, print/ and
// send/. Its implementation is split by concern, all beside this header:
// tsdiappform.cpp (construction and wiring), tsdiappform_document.cpp (New,
// Open, Save, close, idle refresh), _entry (grid, masters, field checks),
// _file (report file), _print, _send (mail, help, about), _recovery.
class TSDIAppForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TSDIAppForm(QWidget *parent = nullptr);
    ~TSDIAppForm() override;

    // The report as the controls hold it, and the other way round: showReport
    // puts every value into its control (each change raises its change
    // notification) and shows the sums.
    zor::Report currentReport() const;
    void showReport(const zor::Report &report);

    // Whether the report has changes that are in no file ("mod" in the status bar).
    bool isModified() const { return Modified != 0; }
    void setModified(bool modified) { Modified = modified ? 1 : 0; }
    // The file the report was last opened from or saved to; empty for a new one.
    QString currentFileName() const { return m_fileName; }
    void setCurrentFileName(const QString &name) { m_fileName = name; }
    // The help page "Hilfe > Inhalt" opens when it exists.
    QString helpFile() const { return m_helpFile; }
    void setHelpFile(const QString &path) { m_helpFile = path; }

    // --- start-up ---
    // Opens a file named on the command line, as Open does after its dialog.
    void openFromCommandLine(const QString &path);
    // From now on, while the report has unsaved changes, a copy of it is kept
    // in folder (written about two seconds after a change).
    void startRecovery(const QString &folder);
    // Offers the copies of earlier runs that did not end normally. Returns
    // true when one was put back into the window.
    bool offerRecovery();
    QString recoveryCopyPath() const;
    // When the session ends (a signal, a logout): writes the copy at once,
    // with a count still open in the cell editor, after any write under way.
    // The copy is not removed afterwards, so the next start offers it. With
    // nothing unsaved there is no copy. True when nothing typed is lost.
    bool keepRecoveryCopyNow();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // --- controls ---
    QLineEdit *field(zor::Field f) const;
    void putReport(const zor::Report &report); // the values, without the sums

    // The general error report for an error a handler does not catch itself.
    void showError(const QString &message);
    // Runs f; a conversion error ends it and is shown through the error report.
    // Returns false when that happened.
    template<typename F>
    bool guarded(F &&f);

    // --- document flows ---
    void ResetReport();
    void FileNew1Execute();
    void FileOpen1Execute();
    void FileSave1Execute();
    void FileSaveAs1Execute();
    void FileExit1Execute();
    void FormCloseQuery(bool &CanClose);
    void AppIdle();
    void AnyControlChange();
    bool mayLeaveReport();                // asks to save changes first; false to stay
    bool openChosen(const QString &path); // Open's steps after the dialog
    void save(); // Save as the menu runs it; Modified tells whether it went through
    void remember(const QString &path); // what the report's file now holds

    // --- recovery copy ---
    zor::RecoveryCopy recoverySnapshot() const; // the report now, the cell editor's text included
    void writeRecoveryLater();                  // on the store's thread
    zor::SaveResult writeRecoveryNow();         // on this one, after a write under way
    void recoveryFailed(const QString &reason); // tells the user, once
    void recoveryChange();                      // a change the controls do not signal
    void discardRecovery();                     // the report is in a file, or the user dropped it

    // --- member counts ---
    void UpdateSums(); // throws zor::ConversionError for a cell that is no whole number
    void ZahlenKeyPress(QChar &Key);
    void ZahlenKeyDown(int Key, Qt::KeyboardModifiers Shift);
    void ZahlenSelectCell(int ACol, int ARow, bool &CanSelect);
    void ZahlenExit();
    // Takes the text of an open cell editor into its cell. Every action that
    // reads the report calls it first.
    void commitPendingEdit();
    // Puts the focus into the first field: Vereinsname on the page Verein.
    void focusFirstField();

    // --- masters list ---
    void AddBtnClick();
    void ModBtnClick();
    void DelBtnClick();
    QStringList masters() const;
    void wireMastersText(); // keeps the texts masters() gives in step with the list
    void setMasters(const QStringList &entries); // replaces the list, sorted once
    int selectedMasterRow() const;               // the lowest selected row of Liste, -1 for none
    void removeMasterRow(int row);

    // --- checks on leaving a field ---
    void NummerControlExit();
    void EmailExit();

    // --- report file ---
    int SaveReportFile();
    bool WriteCompanionFile(); // false (and the user told) when the copy was not written
    // The report file, then (only when it was saved) the companion copy. True
    // when both were written; else the user was told which and why.
    bool writeReportAndCompanion();
    bool LoadReportFile(); // false when the file could not be read; then nothing changed

    // --- printing ---
    void FilePrintExecute1();
    void FileSavePdfExecute();
    void FilePreviewExecute();     // "Druckvorschau...": the printout on screen
    void FilePrintDialogExecute(); // "Drucken...": printer, paper and copies chosen first
    void sendJob(QPrinter &printer, const zor::PrintLayout &layout);
    void printWithDialog(const zor::Report &report, const QString &queue);

    // --- member list: counts and masters taken from the club's own list ---
    void MitgliederImportClick();

    // --- sending, help, about ---
    void EMailSchickenExecute();
    // After the mail program was started, or failed: what to tell, with the
    // offer to show the companion file in the file manager.
    void offerFolder(const QString &companion, const QString &told);
    void HilfeInhaltExecute();
    void HelpAbout1Execute();

    void wireFields();
    void wireActions();
    void wireEntry();    // grid, masters, field checks
    void wireKeyboard(); // page keys, smallest sizes
    void wireImport();   // member list

    unsigned char Modified = 0; // 1 while the report has changes that are not in a file
    std::unique_ptr<Ui::TSDIAppForm> ui;
    TAboutBox *m_about = nullptr; // made when first shown
    QString m_fileName;
    QString m_openFileName; // the file chosen in the open dialog
    QString m_helpFile;
    // What the report's file held when it was last opened or saved, so that
    // another program's changes are not overwritten unasked.
    QString m_knownPath;
    zor::FileFingerprint m_known;
    std::unique_ptr<zor::RecoveryStore> m_recovery;
    QTimer *m_recoveryTimer = nullptr;
    bool m_recoveryFailureShown = false;
    mutable std::optional<QStringList> m_mastersText; // Liste's texts, while known
    bool m_sending = false; // the save routines' words differ while sending writes the files again
};

#include "core/intconv.h"

template<typename F>
bool TSDIAppForm::guarded(F &&f)
{
    try {
        f();
        return true;
    } catch (const zor::ConversionError &e) {
        showError(e.message());
        return false;
    }
}
