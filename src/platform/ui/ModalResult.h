#pragma once
// Modal results: the numbers a dialog's modal show returns.

enum TModalResult : int {
    mrNone = 0, // a button without a modal result closes nothing
    mrOk = 1,
    mrCancel = 2, // also what closing a dialog through its title bar gives
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
};
