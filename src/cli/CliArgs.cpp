#include "CliArgs.h"

bool CliArgs::ParseNumber(const std::string& text, int64_t nMin, int64_t nMax, int64_t* pOut)
{
    size_t i = 0;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        bNegative = text[i++] == '-';
    if (i == text.size() || text.size() - i > 12)
        return false; // no digits, or far beyond any range asked for
    int64_t n = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        n = n * 10 + (text[i] - '0');
    }
    if (bNegative)
        n = -n;
    if (n < nMin || n > nMax)
        return false;
    *pOut = n;
    return true;
}
