#include "programs/tav-scenario/qt_driven_backend.h"

#include "platform/fw/window.h"
#include "platform/headless/transcript_peer.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/window_peer.h"

QtDrivenBackend::QtDrivenBackend(headless::HeadlessBackend& driven, fwqt::QtBackend& qt)
    : m_driven(driven), m_qt(qt) {}

std::unique_ptr<fw::WindowPeer> QtDrivenBackend::CreatePeer(fw::CWnd& window) {
    return std::make_unique<headless::TranscriptPeer>(window, m_driven.GetTranscript(),
                                                      m_qt.CreatePeer(window));
}

void QtDrivenBackend::WaitForEvents(fw::CWnd& modalWindow) {
    // Let Qt lay out and paint what changed before the script looks and acts.
    ProcessPendingEvents();
    m_driven.WaitForEvents(modalWindow);
}

void QtDrivenBackend::ProcessPendingEvents() {
    SyncFocus();
    m_qt.ProcessPendingEvents();
}

void QtDrivenBackend::SyncFocus() {
    // The Qt back end finds no peer of its own behind the transcript's, so the focus the program
    // gives a control is handed on here; a window shows it as the operator would see it (a
    // grid's keyboard cell, a default button).
    for (const fw::CWnd* window : fw::CWnd::TopLevelWindows()) {
        const auto* outer = dynamic_cast<const headless::TranscriptPeer*>(window->GetPeer());
        if (auto* peer =
                dynamic_cast<fwqt::QtWindowPeer*>(outer != nullptr ? outer->Inner() : nullptr)) {
            peer->SyncFocus();
        }
    }
}

void QtDrivenBackend::Wake() {
    m_qt.Wake();
}

int QtDrivenBackend::ShowMessageBox(const fw::MessageBoxRequest& request) {
    return m_driven.ShowMessageBox(request);
}

int QtDrivenBackend::RunPrintDialog(fw::PrintDialogRequest& request) {
    return m_driven.RunPrintDialog(request);
}

std::unique_ptr<fw::PrinterDevice> QtDrivenBackend::CreatePrinterDevice(
    const fw::PrinterSettings& settings) {
    return m_driven.CreatePrinterDevice(settings);
}

int QtDrivenBackend::GetSystemMetrics(int index) const {
    return m_qt.GetSystemMetrics(index);
}

fw::Size QtDrivenBackend::DialogBaseUnits(const fw::DialogTemplate& tmpl) const {
    return m_qt.DialogBaseUnits(tmpl);
}

void QtDrivenBackend::SetWaitCursor(bool on) {
    m_qt.SetWaitCursor(on);
    m_driven.SetWaitCursor(on);
}

int QtDrivenBackend::TextWidth(const std::string& text, const std::string& fontFace,
                               int points) const {
    return m_qt.TextWidth(text, fontFace, points);
}
