#pragma once

#include "reportfile/report.h"

#include <QPointer>
#include <QTableWidget>

#include <functional>
#include <optional>

// The member-count grid: 3 columns by 8 rows; row 0 and column 0 are fixed
// headings, the 14 other cells hold the counts as text.
//
// A screen reader hears each count cell with its age group and sex, and
// finds the same texts as the table's column and row headers (hidden on
// screen, where the fixed row and column show them).
//
// The grid owns the mechanics (which keys reach a cell, when a cell is about
// to become current, when the focus leaves it); what happens then is up to
// the window, which sets the hooks.
class ZahlenGrid : public QTableWidget
{
    Q_OBJECT

public:
    explicit ZahlenGrid(QWidget *parent = nullptr);

    QString cellText(int row, int col) const;
    void setCellText(int row, int col, const QString &text);
    // The fourteen count cells, and the headings around them.
    zor::CountCells counts() const;
    void setCounts(const zor::CountCells &counts);
    void showHeadings();

    // What a screen reader says for a count cell, without its value:
    // " 7 - 14 Jahre, Frauen". Empty for a heading.
    static QString cellName(int row, int col);

    struct Hooks
    {
        // A typed character, in the grid or its cell editor; set it to the
        // null character to refuse it.
        std::function<void(QChar &)> keyPress;
        // Enter (any modifiers), after the cell editor has handed in its text.
        std::function<void(int key, Qt::KeyboardModifiers)> keyDown;
        // A count cell is about to become current; clearing canSelect keeps
        // the current cell where it is.
        std::function<void(int col, int row, bool &canSelect)> selectCell;
        // The focus has left the grid (editor included).
        std::function<void()> exit;
        // The open cell editor's text was changed by the user (typing, paste,
        // undo), however it came in.
        std::function<void()> edited;
    };
    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Makes (row, col) current as a user move would: the selectCell hook may
    // refuse. Returns whether the cell is current now.
    bool goToCell(int row, int col);

    // Takes the text of an open cell editor into its cell; the editor stays
    // open. Everything that reads the cells or moves the current cell does
    // this first.
    void commitPendingEdit();

    // The text in the open cell editor and the cell it belongs to, while it
    // is not handed in yet; nothing when no editor is open. Changes nothing.
    struct PendingEdit
    {
        int row = 0;
        int col = 0;
        QString text;
    };
    std::optional<PendingEdit> pendingEdit() const;

    // Called by the cell editor's key and focus handling.
    bool editorKey(QWidget *editor, QKeyEvent *event); // true: event consumed
    void editorFocusLeft(QFocusEvent *event);
    void editorCreated(QWidget *editor);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;

private:
    bool mayBecomeCurrent(const QModelIndex &target);
    // Runs the key filter on a typed character; false when it was refused.
    bool filterKey(QKeyEvent *event);
    void enter(Qt::KeyboardModifiers modifiers);
    void focusLeft(Qt::FocusReason reason);
    // Tab from the last count cell or Shift+Tab from the first one: the
    // focus leaves the grid. True when it did.
    bool tabOutOfGrid(bool forward);

    Hooks m_hooks;
    QPointer<QWidget> m_editor;
};
