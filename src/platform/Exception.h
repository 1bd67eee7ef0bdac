#pragma once

#include <QString>

#include <exception>
#include <string>

// The general error of the program: carries a user-readable message (German; translated where it
// is shown). Loading, saving and decoding raise it; the caller that talks to the user shows it.
class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}

    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};
