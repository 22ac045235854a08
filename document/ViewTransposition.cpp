// The view's commands that move the song or change how it is shown. Each
// waits for the page asked for before to have loaded; "+" and "-" pressed
// meanwhile are counted, and the page then shows where they lead.

#include "base/Messages.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "engine/Shift.h"

void CQuavernView::OnTransposeUp() {
    StepShift(1);
}

void CQuavernView::OnTransposeDown() {
    StepShift(-1);
}

void CQuavernView::StepShift(int step) {
    if (!m_pDocument)
        return;
    if (m_bReady) {
        SetShift(WrapShift(m_pDocument->Shift() + step));
        return;
    }
    m_nPendingShift = WrapShift(m_nPendingShift.value_or(m_pDocument->Shift()) + step);
}

bool CQuavernView::ApplyPendingShift() {
    if (!m_nPendingShift)
        return false;
    const int shift = *m_nPendingShift;
    m_nPendingShift.reset();
    if (shift == m_pDocument->Shift())
        return false;
    SetShift(shift);
    // A page that cannot be written leaves the view ready on the page shown.
    return !m_bReady;
}

void CQuavernView::SetShift(int shift) {
    if (!m_bReady)
        return;
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    m_pDocument->TransposeBy(shift);
}

void CQuavernView::OnFindEasiest() {
    if (!m_bReady)
        return;
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    m_pDocument->FindEasiestShift();
}

void CQuavernView::OnHighlightToggle() {
    if (!m_pDocument) {
        ShowMessage(kNoDocumentMessage);
        return;
    }
    m_pDocument->SetHighlighted(!m_pDocument->IsHighlighted());
}
