#include "scripted_ui.h"

#include <QWidget>

#include <gtest/gtest.h>

std::ostream& operator<<(std::ostream& os, const Prompt& p) {
    return os << "{\"" << p.text << "\", \"" << p.caption << "\", "
              << (p.buttons == Buttons::YesNo         ? "YesNo"
                  : p.buttons == Buttons::YesNoCancel ? "YesNoCancel"
                                                      : "Ok")
              << ", icon " << static_cast<int>(p.icon) << "}";
}

Prompt ask(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) {
    Prompt p;
    p.text = text;
    p.caption = caption;
    p.buttons = buttons;
    p.icon = icon;
    return p;
}

ScriptedUi::~ScriptedUi() {
    verifyAllUsed();
}

void ScriptedUi::verifyAllUsed() {
    for (Answer a : answers_)
        ADD_FAILURE() << "unused answer " << static_cast<int>(a);
    for (const auto& p : paths_)
        ADD_FAILURE() << "unused file choice " << (p ? *p : std::string("<cancel>"));
    for (const auto& d : dialogs_)
        ADD_FAILURE() << "unused dialog " << d.first;
    answers_.clear();
    paths_.clear();
    dialogs_.clear();
}

ScriptedUi& ScriptedUi::answer(Answer a) {
    answers_.push_back(a);
    return *this;
}

ScriptedUi& ScriptedUi::choose(std::optional<std::string> path) {
    paths_.push_back(std::move(path));
    return *this;
}

ScriptedUi& ScriptedUi::dialog(int templateId, DialogUser user) {
    dialogs_.emplace_back(templateId, std::move(user));
    return *this;
}

ScriptedUi& ScriptedUi::dialogOk(int templateId, std::vector<std::pair<int, std::string>> texts) {
    return dialog(templateId, [texts = std::move(texts)](dialogs::DialogSession& d) {
        for (const auto& [id, text] : texts)
            EXPECT_TRUE(d.type(id, text)) << "control " << id << " refuses \"" << text << "\"";
        return true;
    });
}

ScriptedUi& ScriptedUi::dialogCancel(int templateId) {
    return dialog(templateId, [](dialogs::DialogSession&) { return false; });
}

Answer ScriptedUi::message(const std::string& text, const std::string& caption_, Buttons buttons,
                           Icon icon) {
    Prompt p = ask(text, caption_, buttons, icon);
    p.frameCaption = caption;
    p.waitCursor = waitCursor;
    prompts.push_back(p);
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected prompt " << p;
        return buttons == Buttons::YesNo         ? Answer::No
               : buttons == Buttons::YesNoCancel ? Answer::Cancel
                                                 : Answer::Ok;
    }
    const Answer a = answers_.front();
    answers_.pop_front();
    const bool fits = buttons == Buttons::YesNo         ? (a == Answer::Yes || a == Answer::No)
                      : buttons == Buttons::YesNoCancel ? a != Answer::Ok
                                                        : a == Answer::Ok;
    EXPECT_TRUE(fits) << "answer " << static_cast<int>(a) << " does not fit " << p;
    return a;
}

bool ScriptedUi::runDialog(int templateId, void* record) {
    dialogsRun.push_back(templateId);
    if (dialogs_.empty()) {
        ADD_FAILURE() << "unexpected dialog " << templateId;
        return false;
    }
    auto [id, user] = std::move(dialogs_.front());
    dialogs_.pop_front();
    EXPECT_EQ(id, templateId);
    return dialogs::answerDialog(templateId, record, user);
}

bool ScriptedUi::choose_(FileDialogData& data, bool save) {
    choosers.push_back(data);
    chooserSaves.push_back(save);
    if (paths_.empty()) {
        ADD_FAILURE() << "unexpected file chooser (" << data.filter << ")";
        return false;
    }
    const std::optional<std::string> p = paths_.front();
    paths_.pop_front();
    if (!p) return false;
    data.path = *p;
    return true;
}

bool ScriptedUi::chooseOpenFile(FileDialogData& data) {
    return choose_(data, false);
}
bool ScriptedUi::chooseSaveFile(FileDialogData& data) {
    return choose_(data, true);
}

void ScriptedUi::setWaitCursor(bool wait) {
    waitCursor = wait;
    ++waitCalls;
}

void ScriptedUi::setCaption(const std::string& c) {
    caption = c;
    captions.push_back(c);
}

void ScriptedUi::runLong(const std::string& title, const std::function<void(const Postep&)>& job) {
    longRuns.push_back(title);
    bool cancelled = false;
    job([&](const char* etap, double) {
        stages.emplace_back(etap);
        if (during) during();
        if (cancelAt && *cancelAt == etap) cancelled = true;
        return !cancelled;
    });
}

void ScriptedUi::showWindow(QWidget* window) {
    windowsShown.push_back(window);
    window->show();
}
