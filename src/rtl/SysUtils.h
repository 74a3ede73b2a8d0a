// Exceptions and the SysUtils-style helpers of the class library stand-in.
#pragma once

#include "System.h"
#include <exception>
#include <string>

// The base of every error the class library and the program raise.
class Exception : public std::exception {
public:
    explicit Exception(String message) : message_(std::move(message)) { UpdateNarrow(); }
    virtual ~Exception() = default;

    const String& Message() const { return message_; }
    void SetMessage(const String& message)
    {
        message_ = message;
        UpdateNarrow();
    }
    const char* what() const noexcept override { return narrow_.c_str(); }
    // The class's own name, as error boxes show it.
    String ClassName() const;

private:
    void UpdateNarrow();
    String message_;
    std::string narrow_;
};

#define TAVELIN_EXCEPTION(Name, Base)          \
    class Name : public Base {                 \
    public:                                    \
        using Base::Base;                      \
    };

TAVELIN_EXCEPTION(EAbort, Exception)
TAVELIN_EXCEPTION(EConvertError, Exception)
TAVELIN_EXCEPTION(EInvalidCast, Exception)
TAVELIN_EXCEPTION(EInvalidOperation, Exception)
TAVELIN_EXCEPTION(EInvalidPointer, Exception)
TAVELIN_EXCEPTION(EListError, Exception)
TAVELIN_EXCEPTION(EStringListError, Exception)
TAVELIN_EXCEPTION(EStreamError, Exception)
TAVELIN_EXCEPTION(EReadError, EStreamError)
TAVELIN_EXCEPTION(EWriteError, EStreamError)
TAVELIN_EXCEPTION(EFOpenError, EStreamError)
TAVELIN_EXCEPTION(EFCreateError, EStreamError)
TAVELIN_EXCEPTION(EComponentError, Exception)
TAVELIN_EXCEPTION(EOutOfResources, Exception)
TAVELIN_EXCEPTION(EInvalidGraphic, Exception)
TAVELIN_EXCEPTION(EInvalidGraphicOperation, Exception)
TAVELIN_EXCEPTION(EOSError, Exception)
TAVELIN_EXCEPTION(EIntError, Exception)
TAVELIN_EXCEPTION(ERangeError, EIntError)
TAVELIN_EXCEPTION(EDivByZero, EIntError)
TAVELIN_EXCEPTION(EMathError, Exception)
TAVELIN_EXCEPTION(EZeroDivide, EMathError)
TAVELIN_EXCEPTION(EOverflow, EMathError)
TAVELIN_EXCEPTION(EVariantError, Exception)
TAVELIN_EXCEPTION(EOleError, Exception)
TAVELIN_EXCEPTION(EOleSysError, EOleError)
TAVELIN_EXCEPTION(EOleException, EOleSysError)
TAVELIN_EXCEPTION(EAssertionFailed, Exception)
TAVELIN_EXCEPTION(EThread, Exception)
TAVELIN_EXCEPTION(EIniFileException, Exception)
TAVELIN_EXCEPTION(ERegistryException, Exception)

// Locale-aware comparison (the user's locale), as the class library's Ansi* functions.
int AnsiCompareStr(const String& a, const String& b);
int AnsiCompareText(const String& a, const String& b);
bool AnsiSameText(const String& a, const String& b);
// Ordinal comparison that ignores the case of ASCII letters only.
int CompareText(const String& a, const String& b);
bool SameText(const String& a, const String& b);

String IntToStr(Int64 value);
