#include "script/cscript.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/files.h"
#include "platform/numbers.h"
#include "script/script_text.h"
#include "world/game_state.h"

namespace morvath {
namespace {

// Runs started from inside runs (exe, died) nest at most this deep; deeper ones do nothing.
constexpr int kMaxDepth = 16;
// Starting a nested run reads a file: it is charged as this many lines.
constexpr long long kNestedRunCost = 1000;
// The line index is a 16-bit counter: lines past it are never reached.
constexpr int kMaxLineIndex = 32767;
// The longest text a script value may hold. "a = a & a" in a loop doubles a text each
// round; past this the statement fails like an overflow, long before memory runs out.
constexpr std::size_t kMaxValueChars = std::size_t{1} << 20;
// What a run's variables hold together: copies of a long text into many variables fail
// the same way.
constexpr std::size_t kMaxHeldChars = 4 * kMaxValueChars;

// An error of the evaluator: it ends the run, silently, and the owner of the run goes on.
struct ScriptAbort {};

[[noreturn]] void Abort() { throw ScriptAbort{}; }

const Variant& EmptyValue() {
    static const Variant empty;
    return empty;
}

bool IsOperator(wchar_t c) {
    return c == L'+' || c == L'-' || c == L'/' || c == L'\\' || c == L'^' || c == L'&' || c == L'*';
}

// The number a value stands for once it has been turned into text, as conditions compare
// them. Whole numbers survive that trip unchanged, so they skip it.
double ConditionNumber(const Variant& v) {
    if (v.IsNumber()) {
        double x = v.ToNumber();
        if (x == std::floor(x) && std::fabs(x) < 1e15) return x;
        return ScriptNumber(NumText(x));
    }
    return ValueNumber(v);
}

double Checked(double x) {
    if (!std::isfinite(x)) Abort();  // zero divisors, overflows and NaN end the run
    return x;
}

std::int32_t ToLongOrAbort(double x) {
    double r = std::nearbyint(x);  // halves to even under the default rounding mode
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) Abort();
    return static_cast<std::int32_t>(r);
}

Variant Combine(const Variant& a, wchar_t op, const Variant& v) {
    switch (op) {
        case L'+': return Checked(ValueNumber(a) + ValueNumber(v));
        case L'-': return Checked(ValueNumber(a) - ValueNumber(v));
        case L'*': return Checked(ValueNumber(a) * ValueNumber(v));
        case L'/': {
            double d = ValueNumber(v);
            if (d == 0) Abort();
            return Checked(ValueNumber(a) / d);
        }
        case L'^': return Checked(std::pow(ValueNumber(a), ValueNumber(v)));
        case L'\\': {
            std::int64_t x = ToLongOrAbort(ValueNumber(a));
            std::int64_t y = ToLongOrAbort(ValueNumber(v));
            if (y == 0) Abort();
            std::int64_t q = x / y;
            if (q > std::numeric_limits<std::int32_t>::max()) Abort();
            return static_cast<double>(q);
        }
        case L'&': {
            std::wstring joined = ValueText(a);
            std::wstring tail = ValueText(v);
            if (joined.size() + tail.size() > kMaxValueChars) Abort();
            joined += tail;
            return joined;
        }
    }
    return v;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Variables

void Cscript::SetVar(std::wstring_view name, Variant value) {
    for (std::size_t k = VarNames.size(); k-- > 0;) {
        if (VarNames[k] != name) continue;
        const std::size_t held = heldChars_ - VarValues[k].TextSize() + value.TextSize();
        if (held > kMaxHeldChars) Abort();
        heldChars_ = held;
        // The newest entry of that name moves to the end with its new value.
        if (k + 1 != VarNames.size()) {
            std::wstring n = std::move(VarNames[k]);
            VarNames.erase(VarNames.begin() + static_cast<std::ptrdiff_t>(k));
            VarValues.erase(VarValues.begin() + static_cast<std::ptrdiff_t>(k));
            VarNames.push_back(std::move(n));
            VarValues.push_back(std::move(value));
        } else {
            VarValues[k] = std::move(value);
        }
        return;
    }
}

const Variant& Cscript::GetVar(std::wstring_view name) const {
    for (std::size_t k = 0; k < VarNames.size(); ++k) {
        if (VarNames[k] == name) return VarValues[k];
    }
    return EmptyValue();
}

void Cscript::DeclareVars(std::wstring_view list) {
    list = TrimBlanks(list);
    for (;;) {
        std::size_t semi = list.find(L';');
        VarNames.emplace_back(TrimBlanks(list.substr(0, semi)));
        VarValues.emplace_back(std::wstring());
        if (semi == std::wstring_view::npos) break;
        list.remove_prefix(semi + 1);
    }
}

// ---------------------------------------------------------------------------------------
// Expressions

void Cscript::ChargeText(std::size_t chars) {
    if (chars > textLeft_) Abort();
    textLeft_ -= chars;
}

Variant Cscript::EvalArith(std::wstring_view t) {
    Variant acc;
    wchar_t pending = 0;
    std::size_t word = std::wstring_view::npos;
    const std::size_t n = t.size();

    auto combine = [&](Variant v) {
        ChargeText(v.TextSize());
        if (pending == 0) {
            acc = std::move(v);
        } else {
            acc = Combine(acc, pending, v);
            pending = 0;
            ChargeText(acc.TextSize());
        }
    };

    for (std::size_t k = 0; k < n; ++k) {
        wchar_t c = t[k];
        if (c == L'"') {
            std::size_t close = t.find(L'"', k + 1);
            if (close == std::wstring_view::npos) Abort();
            combine(Variant(std::wstring(t.substr(k + 1, close - k - 1))));
            k = close;
        } else if (c == L' ') {
            continue;
        } else if (IsOperator(c)) {
            if (word != std::wstring_view::npos) {
                // The word is taken to end two characters before the operator: scripts put
                // exactly one blank between a word and the operator after it.
                combine(GetVar(t.substr(word, k - word - 1)));
                word = std::wstring_view::npos;
            }
            pending = c;
        } else {
            if (word == std::wstring_view::npos) word = k;
            if (k == n - 1) combine(GetVar(t.substr(word)));
        }
    }
    return acc;
}

namespace {

// The innermost group: the last "(" before the first ")", literals jumped over. `open` is
// npos when there is no "(" before the first ")" (or none at all).
void FindGroup(std::wstring_view text, std::size_t& open, std::size_t& close) {
    open = close = std::wstring_view::npos;
    for (std::size_t k = 0; k < text.size(); ++k) {
        wchar_t c = text[k];
        if (c == L'"') {
            std::size_t q = text.find(L'"', k + 1);
            if (q == std::wstring_view::npos) Abort();
            k = q;
        } else if (c == L'(') {
            open = k;
        } else if (c == L')') {
            close = k;
            return;
        }
    }
}

}  // namespace

Variant Cscript::EvalExpression(std::wstring_view text) {
    std::size_t open, close;
    FindGroup(text, open, close);
    if (open == std::wstring_view::npos) return EvalArith(text);  // the common case: no group
    if (close == std::wstring_view::npos) Abort();

    // Each group is replaced by its value as a quoted literal and the text is scanned again.
    // A value may itself hold quotes and parentheses (text typed by the player) and rebuild
    // a group for ever, so the rounds are bounded by the "(" the text had to begin with.
    const std::size_t opens = static_cast<std::size_t>(std::count(text.begin(), text.end(), L'('));
    std::wstring& buf = exprBuffer_;
    buf.assign(text);
    for (std::size_t rounds = 0;; ++rounds) {
        if (rounds >= opens) Abort();
        Variant v = EvalArith(std::wstring_view(buf).substr(open + 1, close - open - 1));
        std::wstring replaced;
        replaced.reserve(buf.size() + 8);
        replaced.append(buf, 0, open);
        replaced += L" \"";
        replaced += ValueText(v);
        replaced += L"\" ";
        replaced.append(buf, close + 1, std::wstring::npos);
        buf = std::move(replaced);

        FindGroup(buf, open, close);
        if (open == std::wstring::npos) return EvalArith(buf);
        if (close == std::wstring::npos) Abort();
    }
}

bool Cscript::EvalCondition(std::wstring_view text) {
    std::size_t leftEnd = std::wstring_view::npos, opStart = 0;
    bool trimLeft = false;
    int depth = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        wchar_t c = text[k];
        if (c == L'(') {
            ++depth;
        } else if (c == L')') {
            --depth;
            if (depth == 0) {
                leftEnd = k + 1;
                opStart = k + 1;
                break;
            }
        } else if (c == L'"') {
            std::size_t q = text.find(L'"', k + 1);
            if (q == std::wstring_view::npos) Abort();
            k = q;
            if (depth == 0) {
                leftEnd = k + 1;
                opStart = k + 1;
                break;
            }
        } else if (depth == 0 && (c == L'<' || c == L'>' || c == L'=')) {
            leftEnd = k;
            opStart = k;
            trimLeft = true;
            break;
        }
    }
    if (leftEnd == std::wstring_view::npos) return false;

    std::wstring_view left = text.substr(0, leftEnd);
    if (trimLeft) left = TrimBlanks(left);
    // The operator is read past the blanks; the right side keeps whatever follows it, a
    // trailing blank too (which loses a last word, as everywhere else).
    std::wstring_view rest = text.substr(opStart);
    std::wstring_view opText = TrimBlanks(rest);
    std::size_t opLen = 1;
    if (opText.size() >= 2 && (opText[1] == L'<' || opText[1] == L'>' || opText[1] == L'=')) opLen = 2;
    std::wstring_view op = opText.substr(0, std::min(opLen, opText.size()));
    std::size_t lead = rest.find_first_not_of(L' ');
    std::wstring_view right = lead == std::wstring_view::npos ? std::wstring_view() : rest.substr(lead + op.size());

    Variant l = EvalExpression(left);
    Variant r = EvalExpression(right);

    if (op == L"=" || op == L"==") {
        std::wstring lt = ValueText(l), rt = ValueText(r);
        if (op == L"=") return lt == rt;
        return LCase(lt) == LCase(rt);
    }
    double a = ConditionNumber(l), b = ConditionNumber(r);
    if (op == L">") return a > b;
    if (op == L"<") return a < b;
    if (op == L"<>") return a != b;
    if (op == L">=") return a >= b;
    if (op == L"<=") return a <= b;
    return false;
}

Variant Cscript::CallCommand(std::wstring_view text) {
    std::size_t open = text.find(L'(');
    std::size_t close = text.find(L')');
    // A call without its "(" or with the ")" missing or before it is an error of the
    // evaluator, not of the command.
    if (open == std::wstring_view::npos || close == std::wstring_view::npos || close < open) Abort();
    std::wstring_view name = TrimBlanks(text.substr(0, open));
    std::wstring_view argText = text.substr(open + 1, close - open - 1);

    std::vector<std::wstring> args;
    args.swap(args_);  // keep the capacity of earlier calls
    args.clear();
    for (;;) {
        std::size_t semi = argText.find(L';');
        args.push_back(ValueText(EvalExpression(TrimBlanks(argText.substr(0, semi)))));
        if (semi == std::wstring_view::npos) break;
        argText.remove_prefix(semi + 1);
    }
    Variant result = ExecCommand(name, args);
    args.swap(args_);
    if (result.TextSize() > kMaxValueChars) Abort();
    ChargeText(result.TextSize());
    return result;
}

// ---------------------------------------------------------------------------------------
// The line loop

namespace {

struct WhileEntry {
    int line;                   // the line after the while
    std::wstring_view condition;  // trimmed
};

class DepthGuard {
public:
    DepthGuard() { ++modVarsAndMain.scriptRun.depth; }
    ~DepthGuard() {
        auto& d = modVarsAndMain.scriptRun.depth;
        if (d > 0) --d;
    }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
};

}  // namespace

void Cscript::ScriptExecute() {
    auto& run = modVarsAndMain.scriptRun;
    if (run.depth >= kMaxDepth) return;
    if (run.depth == 0) run.linesLeft = run.lineBudget;
    DepthGuard guard;

    const std::wstring text = Script;  // the run reads its own copy, whatever a hook does
    std::vector<std::wstring_view> lines;
    if (!text.empty()) {
        std::wstring_view rest = text;
        // Lines end with CR LF or with LF alone: a script saved by an editor that writes LF
        // must not stop silently after its first line.
        for (;;) {
            std::size_t e = rest.find(L'\n');
            std::wstring_view line = rest.substr(0, e);
            if (e != std::wstring_view::npos && !line.empty() && line.back() == L'\r') line.remove_suffix(1);
            lines.push_back(line);
            if (e == std::wstring_view::npos || lines.size() > kMaxLineIndex) break;
            rest.remove_prefix(e + 1);
        }
    }
    // At most kMaxLineIndex + 1 lines were split off: the 16-bit counter ends the run after
    // the last line it can number.
    const int last = static_cast<int>(lines.size()) - 1;

    std::wstring gotoLabel;
    bool ifSkip = false, elseSkip = false;
    std::vector<WhileEntry> whileStack;

    try {
        for (int i = 0; i <= last; ++i) {
            if (--run.linesLeft < 0) Abort();
            std::wstring_view line = lines[static_cast<std::size_t>(i)];
            if (line.empty()) continue;
            if (LineChange) LineChange(i, line);
            std::size_t hash = line.find(L'#');
            if (hash != std::wstring_view::npos) {
                line = line.substr(0, hash);
                if (line.empty()) continue;
            }

            if (!gotoLabel.empty()) {
                if (line == gotoLabel) gotoLabel.clear();
                continue;
            }
            if (elseSkip) {
                if (EqualsAsciiNoCase(line, L"end")) elseSkip = false;
                continue;
            }
            if (ifSkip) {
                if (EqualsAsciiNoCase(line, L"end") || EqualsAsciiNoCase(line, L"else")) ifSkip = false;
                continue;
            }

            if (EqualsAsciiNoCase(line, L"else")) {
                elseSkip = true;
                continue;
            }
            if (EqualsAsciiNoCase(line, L"end")) {
                if (!whileStack.empty()) {
                    const WhileEntry& top = whileStack.back();
                    if (EvalCondition(top.condition)) {
                        i = top.line - 1;
                    } else {
                        whileStack.pop_back();
                    }
                }
                continue;
            }

            std::size_t blank = line.find(L' ');
            if (blank != std::wstring_view::npos) {
                std::wstring_view word = line.substr(0, blank);
                std::wstring_view rest = line.substr(blank + 1);
                if (EqualsAsciiNoCase(word, L"if")) {
                    if (!EvalCondition(rest)) ifSkip = true;
                    continue;
                }
                if (EqualsAsciiNoCase(word, L"goto")) {
                    gotoLabel.assign(TrimBlanks(rest));
                    continue;
                }
                if (EqualsAsciiNoCase(word, L"var")) {
                    DeclareVars(rest);
                    continue;
                }
                if (EqualsAsciiNoCase(word, L"while")) {
                    if (EvalCondition(rest)) {
                        if (i >= kMaxLineIndex) Abort();  // the next line's number does not fit
                        whileStack.push_back({i + 1, TrimBlanks(rest)});
                    } else {
                        elseSkip = true;
                    }
                    continue;
                }
            }

            std::size_t at = line.find_first_of(L"=~(");
            if (at != std::wstring_view::npos) {
                wchar_t c = line[at];
                if (c == L'=') {
                    SetVar(TrimBlanks(line.substr(0, at)), EvalExpression(line.substr(at + 1)));
                } else if (c == L'~') {
                    // The name is read before the call: the call may not change it.
                    std::wstring_view name = TrimBlanks(line.substr(0, at));
                    SetVar(name, CallCommand(line.substr(at + 1)));
                } else {
                    CallCommand(line);
                }
            }
        }
    } catch (const ScriptAbort&) {
        // The run ends here; the caller goes on with its next step.
    }

    while (!VarNames.empty()) {
        VarNames.pop_back();
        VarValues.pop_back();
    }
    heldChars_ = 0;
}

// ---------------------------------------------------------------------------------------

bool MayStartNestedRun() {
    auto& run = modVarsAndMain.scriptRun;
    if (run.depth >= kMaxDepth || run.linesLeft <= kNestedRunCost) return false;
    run.linesLeft -= kNestedRunCost;
    return true;
}

void RunWithoutSpeaker(const std::function<void()>& body) {
    Integer previous = modVarsAndMain.ScriptNPCIndex;
    modVarsAndMain.ScriptNPCIndex = 0;
    body();
    modVarsAndMain.ScriptNPCIndex = previous;
}

bool RunScriptFile(const std::wstring& file) {
    if (!IsPlainName(file)) return false;
    auto text = ReadWholeFile(GamePath(L"\\scripts\\" + file));
    if (!text) return false;
    RunWithoutSpeaker([&] {
        Cscript s;
        s.Script = *text;
        s.ScriptExecute();
    });
    return true;
}

}  // namespace morvath
