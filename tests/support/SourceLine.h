// Where a test called the support, for its failure messages: the part of SourceLine
// the tests use. Clang 14 cannot build SourceLine with Debian 12's libstdc++; both
// compilers take these builtins as default arguments and fill them in at the call.
#pragma once

struct SourceLine {
    static constexpr SourceLine current(const char* file = __builtin_FILE(),
                                        unsigned line = __builtin_LINE()) {
        return SourceLine{file, line};
    }
    constexpr const char* file_name() const { return m_file; }
    constexpr unsigned line() const { return m_line; }

    const char* m_file = "";
    unsigned m_line = 0;
};
