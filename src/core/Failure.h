#pragma once

#include <QString>
#include <stdexcept>

// The one exception type of the program: it carries the message the user sees in the error box.
class Failure : public std::runtime_error
{
public:
    explicit Failure(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};
