// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A scripted stand-in for the program's dialogs. The test lists the dialogs it expects, in
// order, with the answer for each; any other dialog, or one with another title or text, fails
// the running test. Expected dialogs that never came fail it too, when the fake goes away or at
// verifyDone().
//
//     FakePrompts fake;
//     fake.expectText("Add New Term", "Enter Term:", "  cats ");
//     fake.expectCancel("Add New Term", "Enter Term:").startingWith("  cats ");
//     fake.expectAnswer("Save changes to term list?", Prompts::Answer::Yes);
//     fake.expectFile(Prompts::FileMode::Save, "Save Term File", path);
//     ... run the command ...
//     QVERIFY(fake.verifyDone());
//
// A dialog that was not expected is answered as if cancelled, so the command stops soon.

#include "Prompts.h"

#include <QString>
#include <QStringList>
#include <QTest>

#include <deque>
#include <optional>
#include <source_location>

class FakePrompts : public Prompts
{
public:
    enum class Kind { Text, Question, Notice, OkCancel, File, SaveAs, Risk, Login, Folder, Password, Case };

    struct Expectation
    {
        Kind kind = Kind::Text;
        QString title;  // text prompts and file dialogs
        QString text;   // the prompt of a text dialog, the message of the others
        bool ok = true; // text prompts and OK/Cancel boxes: OK pressed
        QString typed;  // text prompts: the text in the box when OK is pressed
        Answer answer = Answer::Cancel;
        FileMode mode = FileMode::Open;
        std::optional<QString> path;
        std::optional<QString> startText;
        std::optional<QString> filter;
        std::optional<QString> defaultExtension;
        std::optional<QString> startFolder;
        std::optional<QString> textPrefix; // the message need only start so
        std::source_location where;

        // The text the prompt must start with.
        Expectation &startingWith(const QString &text)
        {
            startText = text;
            return *this;
        }
        Expectation &withFilter(const QString &expectedFilter, const QString &extension)
        {
            filter = expectedFilter;
            defaultExtension = extension;
            return *this;
        }
        // For a message that ends in a text of another program's (the engine's reasons).
        Expectation &textStartingWith(const QString &prefix)
        {
            textPrefix = prefix;
            return *this;
        }
        Expectation &inFolder(const QString &folder)
        {
            startFolder = folder;
            return *this;
        }
    };

    // One dialog as the command showed it.
    struct Call
    {
        Kind kind = Kind::Text;
        QString title;
        QString text;
        QString startText;
        FileMode mode = FileMode::Open;
        QString filter;
        QString defaultExtension;
        QString startFolder;
    };

    FakePrompts() = default;
    FakePrompts(const FakePrompts &) = delete;
    FakePrompts &operator=(const FakePrompts &) = delete;
    ~FakePrompts() override { reportMissing(); }

    // A text prompt (PromptText or PromptTextOrDefault) answered with OK after typing.
    Expectation &expectText(const QString &title, const QString &prompt, const QString &typed,
                            std::source_location where = std::source_location::current())
    {
        Expectation &e = push(Kind::Text, title, prompt, where);
        e.typed = typed;
        return e;
    }
    // A text prompt answered with Cancel.
    Expectation &expectCancel(const QString &title, const QString &prompt,
                              std::source_location where = std::source_location::current())
    {
        Expectation &e = push(Kind::Text, title, prompt, where);
        e.ok = false;
        return e;
    }
    // The Yes/No/Cancel question.
    Expectation &expectAnswer(const QString &message, Answer answer,
                              std::source_location where = std::source_location::current())
    {
        Expectation &e = push(Kind::Question, QStringLiteral("Confirm"), message, where);
        e.answer = answer;
        return e;
    }
    Expectation &expectNotice(const QString &message,
                              std::source_location where = std::source_location::current())
    {
        return push(Kind::Notice, QString(), message, where);
    }
    Expectation &expectOkCancel(const QString &message, bool ok,
                                std::source_location where = std::source_location::current())
    {
        Expectation &e = push(Kind::OkCancel, QString(), message, where);
        e.ok = ok;
        return e;
    }
    // A file dialog answered with the path, or cancelled when the path is nullopt.
    Expectation &expectFile(FileMode mode, const QString &title, std::optional<QString> path,
                            std::source_location where = std::source_location::current())
    {
        Expectation &e = push(Kind::File, title, QString(), where);
        e.mode = mode;
        e.path = std::move(path);
        return e;
    }

    // The folder dialog answered with the path, or cancelled when it is nullopt.
    Expectation &expectFolder(const QString &title, std::optional<QString> path,
                              std::source_location where = std::source_location::current())
    {
        Expectation &e = push(Kind::Folder, title, QString(), where);
        e.path = std::move(path);
        return e;
    }

    // The Open Case dialog answered with a case's location, or cancelled when it is nullopt.
    Expectation &expectCase(std::optional<QString> location,
                            std::source_location where = std::source_location::current())
    {
        Expectation &e = push(Kind::Case, QStringLiteral("Open Case"), QString(), where);
        e.path = std::move(location);
        return e;
    }

    // A download's save dialog answered with the path, or cancelled when it is nullopt;
    // startingWith() checks the suggested path.
    Expectation &expectSaveAs(const QString &title, std::optional<QString> path,
                              std::source_location where = std::source_location::current())
    {
        Expectation &e = push(Kind::SaveAs, title, QString(), where);
        e.path = std::move(path);
        return e;
    }
    // A warning answered with its accept button (true) or refused.
    Expectation &expectRisk(const QString &title, const QString &message, bool accept,
                            std::source_location where = std::source_location::current())
    {
        Expectation &e = push(Kind::Risk, title, message, where);
        e.ok = accept;
        return e;
    }

    // A login answered with the user name and password (typed is "user:password"), or
    // cancelled.
    Expectation &expectLogin(const QString &title, const QString &message, bool ok,
                             const QString &typed = {},
                             std::source_location where = std::source_location::current())
    {
        Expectation &e = push(Kind::Login, title, message, where);
        e.ok = ok;
        e.typed = typed;
        return e;
    }

    // The password dialog answered with the password typed, or cancelled when it is nullopt.
    Expectation &expectPassword(const QString &title, std::optional<QString> password,
                                std::source_location where = std::source_location::current())
    {
        Expectation &e = push(Kind::Password, title, QString(), where);
        e.path = std::move(password);
        return e;
    }

    // Every dialog shown so far, in order.
    const QList<Call> &calls() const { return m_calls; }
    // The starting texts of the text prompts with this title (all text prompts when empty).
    QStringList startTexts(const QString &title = QString()) const
    {
        QStringList texts;
        for (const Call &call : m_calls) {
            if (call.kind == Kind::Text && (title.isEmpty() || call.title == title))
                texts.append(call.startText);
        }
        return texts;
    }
    // Every mismatch found, also those after the first that failed the test.
    const QStringList &failures() const { return m_failures; }
    qsizetype pending() const { return qsizetype(m_script.size()); }

    // Fails the test when an expected dialog has not been shown; true when all went as scripted.
    bool verifyDone()
    {
        reportMissing();
        return m_failures.isEmpty();
    }

    // Prompts
    bool PromptText(const QString &title, const QString &prompt, QString &text) override
    {
        const Expectation *e = take(makeCall(Kind::Text, title, prompt, text));
        if (!e || !e->ok)
            return false;
        text = e->typed;
        return true;
    }
    QString PromptTextOrDefault(const QString &title, const QString &prompt,
                                const QString &defaultText) override
    {
        const Expectation *e = take(makeCall(Kind::Text, title, prompt, defaultText));
        return e && e->ok ? e->typed : defaultText;
    }
    Answer AskYesNoCancel(const QString &message) override
    {
        const Expectation *e = take(makeCall(Kind::Question, QStringLiteral("Confirm"), message));
        return e ? e->answer : Answer::Cancel;
    }
    void ShowNotice(const QString &message) override
    {
        take(makeCall(Kind::Notice, QString(), message));
    }
    bool AskOkCancel(const QString &message) override
    {
        const Expectation *e = take(makeCall(Kind::OkCancel, QString(), message));
        return e && e->ok;
    }
    std::optional<QString> ChooseFile(FileMode mode, const QString &filter,
                                      const QString &defaultExtension, const QString &title,
                                      const QString &startFolder) override
    {
        Call call = makeCall(Kind::File, title, QString());
        call.mode = mode;
        call.filter = filter;
        call.defaultExtension = defaultExtension;
        call.startFolder = startFolder;
        const Expectation *e = take(call);
        return e ? e->path : std::nullopt;
    }

    std::optional<QString> SaveFileAs(const QString &title, const QString &suggestedPath) override
    {
        const Expectation *e = take(makeCall(Kind::SaveAs, title, QString(), suggestedPath));
        return e ? e->path : std::nullopt;
    }
    std::optional<QString> ChooseFolder(const QString &title, const QString &startFolder) override
    {
        const Expectation *e = take(makeCall(Kind::Folder, title, QString(), startFolder));
        return e ? e->path : std::nullopt;
    }
    bool ConfirmRisk(const QString &title, const QString &message, const QString &) override
    {
        const Expectation *e = take(makeCall(Kind::Risk, title, message));
        return e && e->ok;
    }

    bool AskLogin(const QString &title, const QString &message, QString &user,
                  QString &password) override
    {
        const Expectation *e = take(makeCall(Kind::Login, title, message));
        if (!e || !e->ok)
            return false;
        user = e->typed.section(u':', 0, 0);
        password = e->typed.section(u':', 1);
        return true;
    }

    std::optional<QString> AskPassword(const QString &title, const QString &message) override
    {
        const Expectation *e = take(makeCall(Kind::Password, title, message));
        return e ? e->path : std::nullopt;
    }
    // The Open Case dialog opens the case at the path the test gives; an error of the opening
    // ends the command, as the real dialog's stays in it.
    bool ChooseCase(const QStringList &recent,
                    const std::function<void(const QString &)> &open) override
    {
        const Expectation *e = take(makeCall(Kind::Case, QStringLiteral("Open Case"), QString(),
                                             recent.value(0)));
        if (!e || !e->path)
            return false;
        open(*e->path);
        return true;
    }

    static QString kindName(Kind kind)
    {
        switch (kind) {
        case Kind::Text:
            return QStringLiteral("text prompt");
        case Kind::Question:
            return QStringLiteral("Yes/No/Cancel question");
        case Kind::Notice:
            return QStringLiteral("notice");
        case Kind::OkCancel:
            return QStringLiteral("OK/Cancel box");
        case Kind::File:
            return QStringLiteral("file dialog");
        case Kind::SaveAs:
            return QStringLiteral("save dialog");
        case Kind::Risk:
            return QStringLiteral("warning");
        case Kind::Login:
            return QStringLiteral("login");
        case Kind::Folder:
            return QStringLiteral("folder dialog");
        case Kind::Password:
            return QStringLiteral("password dialog");
        case Kind::Case:
            return QStringLiteral("Open Case dialog");
        }
        return {};
    }

private:
    static Call makeCall(Kind kind, const QString &title, const QString &text,
                         const QString &start = QString())
    {
        Call call;
        call.kind = kind;
        call.title = title;
        call.text = text;
        call.startText = start;
        return call;
    }

    static QString describe(const Call &call)
    {
        QString text = kindName(call.kind);
        if (!call.title.isEmpty())
            text += QStringLiteral(" \"%1\"").arg(call.title);
        if (!call.text.isEmpty())
            text += QStringLiteral(" \"%1\"").arg(call.text);
        if (call.kind == Kind::File)
            text += call.mode == FileMode::Save ? QStringLiteral(" (save)")
                                                : QStringLiteral(" (open)");
        return text;
    }
    static QString describe(const Expectation &e)
    {
        Call call;
        call.kind = e.kind;
        call.title = e.title;
        call.text = e.text;
        call.mode = e.mode;
        return describe(call);
    }

    Expectation &push(Kind kind, const QString &title, const QString &text,
                      const std::source_location &where)
    {
        Expectation e;
        e.kind = kind;
        e.title = title;
        e.text = text;
        e.where = where;
        m_script.push_back(std::move(e));
        return m_script.back(); // deque: the reference stays valid as more are added
    }

    void fail(const QString &message, const char *file, int line)
    {
        m_failures.append(message);
        // Reported once per test function; every mismatch stays in failures().
        if (!QTest::currentTestFailed())
            QTest::qFail(message.toUtf8().constData(), file, line);
    }

    void check(bool ok, const Expectation &e, const QString &what, const QString &expected,
               const QString &actual)
    {
        if (ok)
            return;
        fail(QStringLiteral("%1: %2 was \"%3\", expected \"%4\"")
                     .arg(describe(e), what, actual, expected),
             e.where.file_name(), int(e.where.line()));
    }

    // Matches the dialog against the next expected one; null when it was not the one expected.
    const Expectation *take(const Call &call)
    {
        m_calls.append(call);
        if (m_script.empty()) {
            fail(QStringLiteral("Unexpected %1").arg(describe(call)), __FILE__, __LINE__);
            return nullptr;
        }
        m_current = std::move(m_script.front());
        m_script.pop_front();
        const Expectation &e = m_current;
        if (e.kind != call.kind || (call.kind == Kind::File && e.mode != call.mode)) {
            fail(QStringLiteral("Expected %1, got %2").arg(describe(e), describe(call)),
                 e.where.file_name(), int(e.where.line()));
            return nullptr;
        }
        check(e.title == call.title, e, QStringLiteral("title"), e.title, call.title);
        if (e.textPrefix)
            check(call.text.startsWith(*e.textPrefix), e, QStringLiteral("text's start"),
                  *e.textPrefix, call.text);
        else
            check(e.text == call.text, e, QStringLiteral("text"), e.text, call.text);
        if (e.startText)
            check(*e.startText == call.startText, e, QStringLiteral("starting text"), *e.startText,
                  call.startText);
        if (e.filter)
            check(*e.filter == call.filter, e, QStringLiteral("filter"), *e.filter, call.filter);
        if (e.defaultExtension)
            check(*e.defaultExtension == call.defaultExtension, e,
                  QStringLiteral("default extension"), *e.defaultExtension, call.defaultExtension);
        if (e.startFolder)
            check(*e.startFolder == call.startFolder, e, QStringLiteral("start folder"),
                  *e.startFolder, call.startFolder);
        return &m_current;
    }

    void reportMissing()
    {
        while (!m_script.empty()) {
            const Expectation e = std::move(m_script.front());
            m_script.pop_front();
            fail(QStringLiteral("Expected %1 was never shown").arg(describe(e)),
                 e.where.file_name(), int(e.where.line()));
        }
    }

    std::deque<Expectation> m_script;
    Expectation m_current;
    QList<Call> m_calls;
    QStringList m_failures;
};
