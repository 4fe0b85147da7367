// The error types the program raises and shows in a message box with their
// text: the message is kept exactly as given.
#pragma once

#include <QString>
#include <stdexcept>

class Exception : public std::runtime_error {
public:
    explicit Exception(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
    // The message as text for the user.
    QString Message() const { return QString::fromUtf8(what()); }
};

// A write to an ini file that the system refused.
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};
