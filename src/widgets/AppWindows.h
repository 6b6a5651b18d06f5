#pragma once

namespace trv {

class TFormMain;
class TContForm;
class TFormDl;
class TFormStat;
class TFormW;
class TFormL;
class TSTWForm;

// The seven windows the process creates at start, in this order. Each window gets this table and
// finds the others through it when it needs them, which lets them be created in the fixed order
// even where an earlier one opens a later one.
struct AppWindows {
    TFormMain* main = nullptr;
    TContForm* cont = nullptr;
    TFormDl* download = nullptr;
    TFormStat* status = nullptr;
    TFormW* warning = nullptr;
    TFormL* language = nullptr;
    TSTWForm* selfTestWarning = nullptr;
};

} // namespace trv
