#pragma once
#include <QtGlobal>

namespace quenby {

enum EmailServiceTypes : qint32 {
    NOT_SUPPORTED = 0,
    CDOSYS_TYPE = 1,       // SMTP for sending, POP3 for reading
    SIMPLE_MAPI_TYPE = 2,  // the local mail store
};

}  // namespace quenby
