#pragma once
// Published for the client's sake; no operation of the mail service reads it.
#include <QtGlobal>

namespace quenby {

enum READ_EMAIL_FLAGs : qint32 {
    DELETE_TOO_BIG_LETTER = 1,
    NOTICE_DELETED_LETTER = 2,
};

}  // namespace quenby
