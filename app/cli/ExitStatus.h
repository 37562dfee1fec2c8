// What vantrel's exit status tells a script.
#pragma once

enum class ExitStatus {
    Success = 0,
    // The module refused the element (translate, check, demo, stats, plot, export) or the user
    // cancelled an edit.
    Refused = 1,
    // A usage error, a file that cannot be read or written, a bad project, a missing module, a
    // refused import, an edit that could not be saved.
    Failure = 2,
};
