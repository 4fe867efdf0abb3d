// The windowed Host.
#include "app/gui_host.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

namespace app {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void GuiHost::ShowMessage(const std::string& caption, const std::string& text,
                          engine::MessageIcon icon) {
    // A modal box while the window is still being shown or laid out is not safe.
    if (parent_ != nullptr && !parent_->isVisible()) {
        deferred_.push_back({caption, text, icon});
        return;
    }
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
        case engine::MessageIcon::Information:
            boxIcon = QMessageBox::Information;
            break;
        case engine::MessageIcon::Warning:
            boxIcon = QMessageBox::Warning;
            break;
        case engine::MessageIcon::Error:
            boxIcon = QMessageBox::Critical;
            break;
        case engine::MessageIcon::None:
            break;
    }
    QMessageBox box(boxIcon, Q(caption), Q(text), QMessageBox::Ok, DialogParent());
    box.exec();
}

void GuiHost::ShowDeferredMessages() {
    std::vector<DeferredMessage> messages;
    messages.swap(deferred_);
    for (const auto& message : messages) ShowMessage(message.caption, message.text, message.icon);
}

QWidget* GuiHost::DialogParent() const {
    QWidget* active = QApplication::activeWindow();
    if (active != nullptr && active->isVisible()) return active;
    return parent_;
}

bool GuiHost::AskYesNo(const std::string& caption, const std::string& question,
                       bool defaultAnswer) {
    const auto answer = QMessageBox::question(DialogParent(), Q(caption), Q(question),
                                              QMessageBox::Yes | QMessageBox::No,
                                              defaultAnswer ? QMessageBox::Yes : QMessageBox::No);
    return answer == QMessageBox::Yes;
}

YesNoCancel GuiHost::AskYesNoCancel(const std::string& caption, const std::string& question) {
    const auto answer = QMessageBox::question(
        DialogParent(), Q(caption), Q(question),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) return YesNoCancel::Yes;
    if (answer == QMessageBox::No) return YesNoCancel::No;
    return YesNoCancel::Cancel;
}

std::optional<std::string> GuiHost::InputText(const std::string& caption, const std::string& prompt,
                                              const std::string& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(DialogParent(), Q(caption), Q(prompt),
                                               QLineEdit::Normal, Q(defaultText), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::optional<std::string> GuiHost::ChooseOpenFile(const std::string& caption,
                                                   const std::string& suggestedName) {
    const QString name =
        QFileDialog::getOpenFileName(DialogParent(), Q(caption), Q(suggestedName), "alle (*)");
    if (name.isEmpty()) return std::nullopt;
    return name.toStdString();
}

std::optional<std::string> GuiHost::ChooseSaveFile(const std::string& caption,
                                                   const std::string& suggestedName) {
    return SaveFileName(caption, suggestedName, "alle (*)");
}

std::optional<std::string> GuiHost::OpenFileName(const std::string& caption,
                                                 const std::string& filter,
                                                 const std::string& folder) {
    const QString name =
        QFileDialog::getOpenFileName(DialogParent(), Q(caption), Q(folder), Q(filter));
    if (name.isEmpty()) return std::nullopt;
    return name.toStdString();
}

std::optional<std::string> GuiHost::SaveFileName(const std::string& caption,
                                                 const std::string& suggestedName,
                                                 const std::string& filter) {
    const QString name =
        QFileDialog::getSaveFileName(DialogParent(), Q(caption), Q(suggestedName), Q(filter));
    if (name.isEmpty()) return std::nullopt;
    return name.toStdString();
}

std::optional<QColor> GuiHost::ChooseColour(const QColor& initial) {
    const QColor colour = QColorDialog::getColor(initial, DialogParent());
    if (!colour.isValid()) return std::nullopt;
    return colour;
}

std::optional<QFont> GuiHost::ChooseFont(const QFont& initial) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, DialogParent());
    if (!ok) return std::nullopt;
    return font;
}

bool GuiHost::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void GuiHost::ProcessEvents() {
    if (beforeEvents_) beforeEvents_();
    QCoreApplication::processEvents();
}

bool GuiHost::TakeStopRequest() {
    const bool requested = stopRequest_;
    stopRequest_ = false;
    return requested;
}

// The window stays responsive while a program pauses; Escape ends the pause early.
void GuiHost::Sleep(int milliseconds) {
    if (beforeEvents_) beforeEvents_();
    if (milliseconds <= 0 || stopRequest_) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    sleepLoop_ = &loop;
    loop.exec();
    sleepLoop_ = nullptr;
}

void GuiHost::RequestStop() {
    stopRequest_ = true;
    if (sleepLoop_ != nullptr) sleepLoop_->quit();
    if (continueLoop_ != nullptr) continueLoop_->quit();
}

void GuiHost::WaitForContinue(const std::string&) {
    if (beforeEvents_) beforeEvents_();
    continued_ = false;
    QCoreApplication::processEvents();
    if (continued_ || stopRequest_) return;
    QEventLoop loop;
    continueLoop_ = &loop;
    loop.exec();
    continueLoop_ = nullptr;
}

void GuiHost::Continue() {
    continued_ = true;
    if (continueLoop_ != nullptr) continueLoop_->quit();
}

void GuiHost::SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(Q(text));
}

std::string GuiHost::ClipboardText() {
    return QGuiApplication::clipboard()->text().toStdString();
}

}  // namespace app
