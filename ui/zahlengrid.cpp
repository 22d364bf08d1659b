#include "ui/zahlengrid.h"

#include "entry/membercounts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>

namespace {

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The cell editor: a line edit that takes digits only, so a paste of
// anything else changes nothing. Its keys go through the grid's filter
// before the standard editor handling sees them.
class CountDelegate : public QStyledItemDelegate
{
public:
    explicit CountDelegate(ZahlenGrid *grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid)
    { }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *w = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            edit->setValidator(new QRegularExpressionValidator(
                    QRegularExpression(QStringLiteral("[0-9]*")), edit));
            edit->setContextMenuPolicy(Qt::DefaultContextMenu);
            // Typing into a cell, the screen reader says which count it is.
            edit->setAccessibleName(ZahlenGrid::cellName(index.row(), index.column()));
        }
        m_grid->editorCreated(w);
        return w;
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *editor = qobject_cast<QWidget *>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (isEnterKey(key->key())) {
                // Hand the text in and close the editor before the sums are read.
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                m_grid->editorKey(editor, key);
                return true;
            }
            if (m_grid->editorKey(editor, key))
                return true;
        }
        if (editor && event->type() == QEvent::FocusOut) {
            // The standard handling hands the text in first; then the sums may read it.
            const bool done = QStyledItemDelegate::eventFilter(object, event);
            m_grid->editorFocusLeft(static_cast<QFocusEvent *>(event));
            return done;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    ZahlenGrid *m_grid;
};

// A cell that tells a screen reader what it counts: "7 - 14 Jahre, Frauen: 7".
// Computed when asked, so it always holds the cell's text as it stands.
class CountItem : public QTableWidgetItem
{
public:
    using QTableWidgetItem::QTableWidgetItem;

    QVariant data(int role) const override
    {
        if (role == Qt::AccessibleTextRole && tableWidget()) {
            const QString name = ZahlenGrid::cellName(row(), column());
            if (!name.isEmpty()) {
                const QString value = text();
                return QStringLiteral("%1: %2").arg(name, value.isEmpty() ? QStringLiteral("leer")
                                                                          : value);
            }
        }
        return QTableWidgetItem::data(role);
    }
};

bool isMovingKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

QString sexHeading(int col)
{
    return col == 1 ? QString::fromUtf8("M\u00e4nner") : QStringLiteral("Frauen");
}

} // namespace

ZahlenGrid::ZahlenGrid(QWidget *parent)
    : QTableWidget(8, 3, parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    static const int heights[8] = {24, 24, 25, 24, 24, 24, 24, 24};
    for (int c = 0; c < 3; ++c)
        setColumnWidth(c, 100);
    for (int r = 0; r < 8; ++r) {
        setRowHeight(r, heights[r]);
        for (int c = 0; c < 3; ++c) {
            auto *item = new CountItem(QStringLiteral("0"));
            if (r == 0 || c == 0) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(palette().button());
            }
            setItem(r, c, item);
        }
    }
    setTabKeyNavigation(true);
    setItemDelegate(new CountDelegate(this));
    setCurrentCell(1, 1);

    // The headers stay hidden: the fixed row and column show the same texts
    // on screen, the headers give them to a screen reader's table navigation.
    QStringList groups{QString()};
    for (int g = 0; g < zor::AgeGroupCount; ++g)
        groups << zor::ageGroupLabel(g).simplified();
    setVerticalHeaderLabels(groups);
    setHorizontalHeaderLabels({QStringLiteral("Altersgruppe"), sexHeading(1), sexHeading(2)});
    setAccessibleName(QStringLiteral("Mitgliederzahlen"));
    setAccessibleDescription(QString::fromUtf8(
            "Mitglieder je Altersgruppe, M\u00e4nner und Frauen. Die Eingabetaste "
            "geht zur n\u00e4chsten Zahl, die Summen stehen darunter."));
}

QString ZahlenGrid::cellName(int row, int col)
{
    if (!zor::isCountCell(row, col))
        return QString();
    return QStringLiteral("%1, %2").arg(zor::ageGroupLabel(row - 1).simplified(), sexHeading(col));
}

zor::CountCells ZahlenGrid::counts() const
{
    zor::CountCells cells;
    for (int g = 0; g < zor::AgeGroupCount; ++g) {
        cells[g][zor::Men] = cellText(g + 1, 1);
        cells[g][zor::Women] = cellText(g + 1, 2);
    }
    return cells;
}

void ZahlenGrid::setCounts(const zor::CountCells &cells)
{
    for (int g = 0; g < zor::AgeGroupCount; ++g) {
        setCellText(g + 1, 1, cells[g][zor::Men]);
        setCellText(g + 1, 2, cells[g][zor::Women]);
    }
}

void ZahlenGrid::showHeadings()
{
    setCellText(0, 0, QStringLiteral("Altersgruppe"));
    setCellText(0, 1, sexHeading(1));
    setCellText(0, 2, sexHeading(2));
    for (int g = 0; g < zor::AgeGroupCount; ++g)
        setCellText(g + 1, 0, zor::ageGroupLabel(g));
}

QString ZahlenGrid::cellText(int row, int col) const
{
    const QTableWidgetItem *it = item(row, col);
    return it ? it->text() : QString();
}

void ZahlenGrid::setCellText(int row, int col, const QString &text)
{
    if (QTableWidgetItem *it = item(row, col))
        it->setText(text);
}

bool ZahlenGrid::goToCell(int row, int col)
{
    const QModelIndex target = model()->index(row, col);
    if (!target.isValid() || !zor::isCountCell(row, col))
        return false;
    if (target != currentIndex() && !mayBecomeCurrent(target))
        return false;
    setCurrentCell(row, col);
    return true;
}

bool ZahlenGrid::mayBecomeCurrent(const QModelIndex &target)
{
    bool canSelect = true;
    if (m_hooks.selectCell)
        m_hooks.selectCell(target.column(), target.row(), canSelect);
    return canSelect;
}

bool ZahlenGrid::filterKey(QKeyEvent *event)
{
    QChar c;
    if (isEnterKey(event->key()))
        c = QChar(13);
    else if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        c = QChar(8); // Delete edits the cell just as Backspace does, so it counts the same
    else if (!event->text().isEmpty())
        c = event->text().at(0);
    else
        return true; // arrows, F2, Tab and the like keep their standard meaning
    if (m_hooks.keyPress)
        m_hooks.keyPress(c);
    return !c.isNull();
}

void ZahlenGrid::enter(Qt::KeyboardModifiers modifiers)
{
    if (m_hooks.keyDown)
        m_hooks.keyDown(Qt::Key_Return, modifiers);
}

bool ZahlenGrid::editorKey(QWidget *, QKeyEvent *event)
{
    if (isEnterKey(event->key())) {
        enter(event->modifiers());
        filterKey(event);
        return true;
    }
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) && plain)
        return tabOutOfGrid(event->key() == Qt::Key_Tab
                            && !(event->modifiers() & Qt::ShiftModifier));
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab
        || event->key() == Qt::Key_Escape)
        return false;
    if ((event->key() == Qt::Key_Home || event->key() == Qt::Key_End)
        && (event->modifiers() & Qt::ControlModifier)) {
        // Ctrl+Home and Ctrl+End move the current cell, also from the cell editor.
        const QModelIndex target = moveCursor(event->key() == Qt::Key_Home ? MoveHome : MoveEnd,
                                              event->modifiers());
        if (target.isValid() && target != currentIndex())
            setCurrentIndex(target);
        return true;
    }
    return !filterKey(event);
}

void ZahlenGrid::keyPressEvent(QKeyEvent *event)
{
    if (isEnterKey(event->key())) {
        enter(event->modifiers());
        filterKey(event);
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) && tabKeyNavigation()
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (tabOutOfGrid(event->key() == Qt::Key_Tab
                         && !(event->modifiers() & Qt::ShiftModifier))) {
            event->accept();
            return;
        }
        // Tab walks the cells in between, and stays when the sums refuse the move.
        const QModelIndex target = moveCursor(event->key() == Qt::Key_Tab ? MoveNext : MovePrevious,
                                              event->modifiers());
        if (target.isValid() && target != currentIndex())
            setCurrentIndex(target);
        event->accept();
        return;
    }
    if (event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab
        && event->key() != Qt::Key_Escape && !filterKey(event)) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void ZahlenGrid::mousePressEvent(QMouseEvent *event)
{
    commitPendingEdit();
    const QModelIndex target = indexAt(event->position().toPoint());
    if (target.isValid() && target != currentIndex()) {
        // Headings never become current; a count cell only when the sums allow it.
        if (!zor::isCountCell(target.row(), target.column()) || !mayBecomeCurrent(target)) {
            if (!hasFocus() && !isAncestorOf(QApplication::focusWidget()))
                setFocus(Qt::MouseFocusReason);
            event->accept();
            return;
        }
    }
    QTableWidget::mousePressEvent(event);
}

void ZahlenGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex target = indexAt(event->position().toPoint());
    // The press before it already decided whether that cell became current.
    if (target.isValid() && target != currentIndex()) {
        event->accept();
        return;
    }
    QTableWidget::mouseDoubleClickEvent(event);
}

QModelIndex ZahlenGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    const int curRow = current.isValid() ? current.row() : 1;
    const int curCol = current.isValid() ? current.column() : 1;
    QModelIndex target;
    switch (cursorAction) {
    case MoveNext:
    case MovePrevious: {
        // Tab walks the count cells only, round from the last to the first.
        int row = curRow, col = curCol;
        if (cursorAction == MoveNext) {
            if (++col > zor::GridLastCol) {
                col = 1;
                row = row >= zor::GridLastRow ? 1 : row + 1;
            }
        } else if (--col < 1) {
            col = zor::GridLastCol;
            row = row <= 1 ? zor::GridLastRow : row - 1;
        }
        target = model()->index(row, col);
        break;
    }
    case MoveHome:
        target = model()->index(1, 1); // the first count cell, with or without Ctrl
        break;
    case MoveEnd:
        target = model()->index(modifiers & Qt::ControlModifier ? zor::GridLastRow : curRow,
                                zor::GridLastCol);
        break;
    case MovePageUp:
        target = model()->index(1, curCol);
        break;
    case MovePageDown:
        target = model()->index(zor::GridLastRow, curCol);
        break;
    default:
        target = QTableWidget::moveCursor(cursorAction, modifiers);
        if (target.isValid() && !zor::isCountCell(target.row(), target.column()))
            target = current;
        break;
    }
    // A key that goes nowhere (Up in the top row, Down in the bottom one)
    // leaves the editing as it is: nothing is taken in, Escape still brings
    // back the old count.
    if (!target.isValid() || target == current)
        return current;
    // Whatever moves the current cell sees the typed text in the cell first.
    commitPendingEdit();
    if (!mayBecomeCurrent(target))
        return current;
    return target;
}

QItemSelectionModel::SelectionFlags ZahlenGrid::selectionCommand(const QModelIndex &index,
                                                                 const QEvent *event) const
{
    // The highlight goes where the current cell goes, Ctrl held or not
    // (Ctrl+Home, Ctrl+End) and for the moves the grid makes itself, so that
    // what is typed next lands in the cell the user looks at. Shift with a
    // key still stretches a range, and the mouse keeps its ways.
    const bool byProgram = event == nullptr;
    const auto *key = event && event->type() == QEvent::KeyPress
                              ? static_cast<const QKeyEvent *>(event)
                              : nullptr;
    // Shift+Tab is a move back, not a range.
    const bool stretching = key && (key->modifiers() & Qt::ShiftModifier)
                            && key->key() != Qt::Key_Backtab;
    const bool byKey = key && isMovingKey(key->key()) && !stretching;
    if (index.isValid() && selectionMode() != NoSelection && (byProgram || byKey))
        return QItemSelectionModel::ClearAndSelect;
    return QTableWidget::selectionCommand(index, event);
}

void ZahlenGrid::commitPendingEdit()
{
    if (m_editor && state() == EditingState)
        commitData(m_editor);
}

std::optional<ZahlenGrid::PendingEdit> ZahlenGrid::pendingEdit() const
{
    const auto *edit = qobject_cast<const QLineEdit *>(m_editor.data());
    if (!edit || state() != EditingState)
        return std::nullopt;
    return PendingEdit{currentRow(), currentColumn(), edit->text()};
}

void ZahlenGrid::editorCreated(QWidget *editor)
{
    m_editor = editor;
    if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
        // A paste from the context menu changes the count as typing does.
        connect(edit, &QLineEdit::textEdited, this, [this] {
            if (m_hooks.edited)
                m_hooks.edited();
        });
    }
}

bool ZahlenGrid::tabOutOfGrid(bool forward)
{
    const QModelIndex current = currentIndex();
    const bool atEdge = forward ? (current.row() == zor::GridLastRow
                                   && current.column() == zor::GridLastCol)
                                : (current.row() == 1 && current.column() == 1);
    if (!atEdge)
        return false;
    commitPendingEdit();
    if (m_editor && state() == EditingState) {
        QWidget *editor = m_editor;
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    // The window's focus chain, not the grid's own walk through its cells.
    QWidget::focusNextPrevChild(forward);
    return true;
}

void ZahlenGrid::focusOutEvent(QFocusEvent *event)
{
    QTableWidget::focusOutEvent(event);
    focusLeft(event->reason());
}

void ZahlenGrid::editorFocusLeft(QFocusEvent *event)
{
    focusLeft(event->reason());
}

void ZahlenGrid::focusLeft(Qt::FocusReason reason)
{
    // A context menu, the menu bar or another window taking the focus is no leaving; neither
    // is the focus moving between the grid and its own cell editor.
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason
        || reason == Qt::MenuBarFocusReason)
        return;
    QWidget *now = QApplication::focusWidget();
    if (now == this || isAncestorOf(now))
        return;
    if (m_hooks.exit)
        m_hooks.exit();
}
