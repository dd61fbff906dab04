#pragma once

// The result of every exchange and command. The numbers are also vcp-probe's exit statuses,
// so they never change.
enum class [[nodiscard]] Status : int{
    Ok = 0,
    NoAnswer = 1,     // the first answer byte did not come within the command's patience
    WrongLength = 3,  // the answer's length is not the one the command expects
    WriteFailed = 4,  // the request was not written; also a failed BREAK, or identify answered
                      // with another code
    WrongCode = 6,    // the answer code is not one the command accepts
    NoLength = 102,   // the answer's length byte did not come
    NoCode = 103,     // the answer's code byte did not come
    CutShort = 104,   // a data byte of the answer did not come; the answer is not used
    Yielded = 105,    // a presence poll gave the line up to the user before its answer came
    MenuDataOverflow = 110,  // the menu image ran past its block, or never ended
};

// A few words for messages and logs.
constexpr const char* StatusText(Status status) {
    switch (status) {
        case Status::Ok:
            return "ok";
        case Status::NoAnswer:
            return "no answer";
        case Status::WrongLength:
            return "wrong answer length";
        case Status::WriteFailed:
            return "write failed";
        case Status::WrongCode:
            return "wrong answer code";
        case Status::NoLength:
            return "length byte missing";
        case Status::NoCode:
            return "code byte missing";
        case Status::CutShort:
            return "answer cut short";
        case Status::Yielded:
            return "gave the line up to the user";
        case Status::MenuDataOverflow:
            return "menu image too long";
    }
    return "unknown status";
}
