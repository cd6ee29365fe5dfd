#pragma once
// A run-time error as the components raise and catch it: a number, the
// source that raised it and a description.
#include <QString>
#include <exception>
#include <functional>
#include <string>

namespace platform {

// Automation errors are numbered from this base (0x80040000).
constexpr int kAutomationErrorBase = -2147221504;

class VbError : public std::exception {
public:
    VbError(int number, QString source, QString description);
    int number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString source_;
    QString description_;
    std::string what_;
};

// "description (number)", the form every caught failure is reported in.
QString ErrorText(const QString& description, int number);
QString ErrorText(const VbError& error);
// Any exception: a VbError by its fields, anything else as number 0.
QString ErrorText(const std::exception& error);

// Runs body and gives its text; a failure it raises becomes its
// "description (number)" instead, so nothing escapes the caller's tick.
QString TextOrError(const std::function<QString()>& body);

[[noreturn]] void Raise(int number, const QString& source, const QString& description);
// "Object variable or With block variable not set" (91) from source: an
// object the caller needs is not there.
[[noreturn]] void RaiseObjectNotSet(const QString& source);

// What object points at; an empty pointer raises error 91 from source.
template <class Pointer>
auto& Required(const Pointer& object, const QString& source)
{
    if (!object)
        RaiseObjectNotSet(source);
    return *object;
}

// Run-time error numbers of the language runtime that components reuse.
namespace vberr {
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9;
constexpr int InvalidProcedureCall = 5;
constexpr int TypeMismatch = 13;
constexpr int ObjectNotSet = 91;
constexpr int DuplicateKey = 457;
}  // namespace vberr

}  // namespace platform
