// The main window's keys and leave events: one filter for the whole program previews every
// key before the focused control, runs the Alt keys of the pages and the leave handlers of
// the fields.
#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

#include "ui/tabula_view.h"
#include "ui/vorla_form.h"

namespace vorla {
namespace {

// An Alt key of a page: a colour label takes a new colour, any other control the focus.
struct AltKey {
    int key;
    Page page;  // the page it works on
    Ctl target;
};

constexpr AltKey kAltKeys[] = {
    {Qt::Key_1, Page::Circles, Ctl::LabelB1},
    {Qt::Key_2, Page::Circles, Ctl::LabelB2},
    {Qt::Key_3, Page::Circles, Ctl::LabelB3},
    {Qt::Key_4, Page::Circles, Ctl::LabelB4},
    {Qt::Key_5, Page::Circles, Ctl::LabelB5},
    {Qt::Key_B, Page::Tabula, Ctl::EditNekonecno},
    {Qt::Key_B, Page::Circles, Ctl::EditKb},
    {Qt::Key_F, Page::Mouse, Ctl::LabelMouseFrom},
    {Qt::Key_F, Page::Iters, Ctl::LabelItersFrom},
    {Qt::Key_I, Page::Periods, Ctl::SpinPeriodIter},
    {Qt::Key_I, Page::Converg, Ctl::SpinKonvergIter},
    {Qt::Key_I, Page::Iters, Ctl::SpinInfinityTest},
    {Qt::Key_I, Page::Rectang, Ctl::SpinNumRect},
    {Qt::Key_I, Page::Mouse, Ctl::SpinMouseIter},
    {Qt::Key_I, Page::Regions, Ctl::SpinRegionIter},
    {Qt::Key_I, Page::Lyap, Ctl::SpinLyapIter},
    {Qt::Key_L, Page::Mouse, Ctl::LabelIterCircle},
    {Qt::Key_N, Page::Circles, Ctl::EditKn},
    {Qt::Key_T, Page::Mouse, Ctl::LabelMouseTo},
    {Qt::Key_T, Page::Iters, Ctl::LabelItersTo},
    {Qt::Key_T, Page::Rectang, Ctl::SpinRectDensity},
};

// Whether Alt with `key` belongs to the window on every page (also where it does nothing).
bool IsAltKey(int key) {
    return std::any_of(std::begin(kAltKeys), std::end(kAltKeys),
                       [key](const AltKey& a) { return a.key == key; });
}

// The key of an Alt key as the table names it: with Shift, the digits 1 to 5 arrive as the
// characters above them on the keyboard.
int AltKeyOf(const QKeyEvent* e) {
    static constexpr struct {
        int shifted, digit;
    } kShiftedDigits[] = {{Qt::Key_Exclam, Qt::Key_1},
                          {Qt::Key_At, Qt::Key_2},
                          {Qt::Key_NumberSign, Qt::Key_3},
                          {Qt::Key_Dollar, Qt::Key_4},
                          {Qt::Key_Percent, Qt::Key_5}};
    if (e->modifiers() & Qt::ShiftModifier)
        for (const auto& s : kShiftedDigits)
            if (e->key() == s.shifted) return s.digit;
    return e->key();
}

// Alt with a key that types a character and is no key of the window or of a menu: it types
// nothing (AltGr, which some layouts report as Ctrl+Alt, still types).
bool IsStrayAltKey(const QKeyEvent* e) {
    const Qt::KeyboardModifiers mods = e->modifiers();
    return (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !e->text().isEmpty() &&
           e->text().at(0).isPrint();
}

}  // namespace

bool TVorlaForm::FormKeyDown(QKeyEvent* e) {
    const int key = AltKeyOf(e);
    const Qt::KeyboardModifiers mods = e->modifiers();
    // The tabula's own keys, with no modifier but the keypad's (and Shift, which + needs).
    if (focusWidget() == tabule_ && !(mods & ~(Qt::KeypadModifier | Qt::ShiftModifier)) &&
        (key == Qt::Key_Plus || key == Qt::Key_Equal || key == Qt::Key_Minus ||
         key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down)) {
        KeyMove(key);
        return true;
    }
    if (key == Qt::Key_Escape)  // not consumed
        RunCommand([this] { session_->RequestStop(); }, true);
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && (mods & Qt::ControlModifier)) {
        const int n = pages_->count();
        const bool back = key == Qt::Key_Backtab || (mods & Qt::ShiftModifier);
        pages_->setCurrentIndex((pages_->currentIndex() + (back ? n - 1 : 1)) % n);
        return true;
    }
    if (!(mods & Qt::AltModifier) || !IsAltKey(key)) return IsStrayAltKey(e);
    const auto page = static_cast<Page>(pages_->currentIndex());
    for (const AltKey& a : kAltKeys) {
        if (a.key != key || page != a.page) continue;
        if (Spec(a.target).kind == ControlKind::ColourLabel) {
            LabelyBarev(a.target);
        } else if (QWidget* target = widgets_[static_cast<int>(a.target)]) {
            // A user's move, as Tab: the field left is checked.
            target->setFocus(Qt::ShortcutFocusReason);
        }
    }
    return true;
}

bool TVorlaForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == stopImage_ && type == QEvent::MouseButtonPress) {
        StopVypoctuClick();
        return true;
    }
    if (type == QEvent::FocusOut) {
        auto* field = qobject_cast<QWidget*>(watched);
        if (suppressExit_ || !field || field->window() != this) return false;
        auto* fe = static_cast<QFocusEvent*>(event);
        // Leaving the field for another control, not for another window or a menu.
        if (fe->reason() != Qt::ActiveWindowFocusReason && fe->reason() != Qt::PopupFocusReason)
            if (const std::optional<Ctl> c = ControlOf(field)) FieldLeft(*c);
        return false;
    }
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    if (type == QEvent::ShortcutOverride) {
        const QKeySequence seq(ke->keyCombination());
        // In an edit field, cut, copy, paste, select all and undo work on its text (Ctrl+X
        // must not end the program there); elsewhere the menu's shortcuts win.
        const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w);
        if (field && (ke->matches(QKeySequence::Cut) || ke->matches(QKeySequence::Copy) ||
                      ke->matches(QKeySequence::Paste) || ke->matches(QKeySequence::SelectAll) ||
                      ke->matches(QKeySequence::Undo))) {
            ke->accept();
            return true;
        }
        if (menuKeys_.contains(seq)) return true;
        // The keys of the Alt table come to the key handler, not to label mnemonics.
        if ((ke->modifiers() & Qt::AltModifier) && IsAltKey(AltKeyOf(ke))) {
            ke->accept();
            return true;
        }
        return false;
    }
    // Key preview: the window's handler sees each key once, before the focused control.
    if (watched != this && w != focusWidget()) return false;
    return FormKeyDown(ke);
}

}  // namespace vorla
