// CLDiagnostic: one finding in a CL source member, at a range of it.
#ifndef CLDIAGNOSTIC_H
#define CLDIAGNOSTIC_H

#include "CLSource.h"

#include <string>

struct CLDiagnostic
{
    enum Severity
    {
        Error,
        Warning,
        Note
    };
    Severity severity = Error;
    CLSrcPos begin, end;
    std::string message;
    std::string code; // a short name of the rule, such as "undeclared-variable"

    static const char* SeverityName(Severity s)
    {
        return s == Error ? "error" : s == Warning ? "warning" : "note";
    }
    bool operator<(const CLDiagnostic& o) const
    {
        if (!(begin == o.begin))
            return begin < o.begin;
        if (severity != o.severity)
            return severity < o.severity;
        return message < o.message;
    }
};

#endif
