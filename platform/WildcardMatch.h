#pragma once
// The one wildcard match of the program's masks: "*" matches any run, "?" one element.
// Iterative with one back-tracking point: linear in practice, and no recursion however many
// stars a mask holds. Works over text (QString) and over bytes (QByteArrayView) alike;
// equal(patternElement, nameElement) compares two elements (after any case folding).

#include <QtGlobal>

template<typename Pattern, typename Name, typename Equal>
bool WildcardMatch(const Pattern& pattern, const Name& name, Equal equal)
{
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || equal(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}
