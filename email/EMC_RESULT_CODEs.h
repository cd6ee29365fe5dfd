#pragma once
#include <QtGlobal>

namespace quenby {

enum EMC_RESULT_CODEs : qint32 {
    NOT_EXECUTED_RESULT = 0,
    OK_RESULT = 1,
    TIME_OUT_RESULT = 2,
    ERROR_RESULT = 3,
    IN_PROCESS = 4,
    ABORTED_BY_USER_RESULT = 5,
};

}  // namespace quenby
