// The view's commands that move the song or change how it is shown. Each
// waits for the page asked for before to have loaded.

#include "base/Messages.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include "engine/Shift.h"

void CQuavernView::OnTransposeUp() {
    if (m_bReady && m_pDocument)
        SetShift(WrapShift(m_pDocument->Shift() + 1));
}

void CQuavernView::OnTransposeDown() {
    if (m_bReady && m_pDocument)
        SetShift(WrapShift(m_pDocument->Shift() - 1));
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
