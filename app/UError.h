#pragma once

#include <exception>
#include <stdexcept>

#include <QString>

// The base of every error this system throws: it carries the text the user
// is shown, so every handler reads it the same way through Message().
class EExamoraError : public std::runtime_error
{
public:
    explicit EExamoraError(const QString &message)
        : std::runtime_error(message.toStdString()),
          FMessage(message)
    {
    }
    const QString &Message() const { return FMessage; }

private:
    QString FMessage;
};

// The text of any exception a handler catches: our own errors give their
// message; what() of a library's exception is read as UTF-8, the encoding
// every text of this system is built in.
inline QString ErrorText(const std::exception &error)
{
    if (const auto *own = dynamic_cast<const EExamoraError *>(&error))
        return own->Message();
    return QString::fromUtf8(error.what());
}
