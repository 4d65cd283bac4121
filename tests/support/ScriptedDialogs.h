#pragma once

#include "core/Dialogs.h"

#include <QList>
#include <deque>

// Answers the program's modal questions from a script and records what was asked.
class ScriptedDialogs : public Dialogs
{
public:
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<SaveChoice>> saveAnswers;
    std::deque<Answer> closeAnswers;
    std::deque<Trust> trustAnswers;
    std::deque<PageAnswer> pageAnswers;
    QList<PageQuestion> pageQuestions;
    QStringList trustQuestions;
    QStringList errors, messages;
    QList<SaveState> saveRequests;
    int closeQuestions = 0;

    std::optional<QString> openFileName() override { return take(openAnswers, std::optional<QString>()); }
    std::optional<SaveChoice> saveFileName(const SaveState &state) override
    {
        saveRequests.append(state);
        return take(saveAnswers, std::optional<SaveChoice>());
    }
    Answer askSaveChanges() override
    {
        ++closeQuestions;
        return take(closeAnswers, Answer::Cancel);
    }
    void showError(const QString &message) override { errors.append(message); }
    void showMessage(const QString &message) override { messages.append(message); }
    Trust askTrust(const QString &question) override
    {
        trustQuestions.append(question);
        return take(trustAnswers, Trust::Cancel);
    }

    PageAnswer askPage(const PageQuestion &question) override
    {
        pageQuestions.append(question);
        return take(pageAnswers, PageAnswer());
    }

private:
    template <typename T>
    static T take(std::deque<T> &queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};
