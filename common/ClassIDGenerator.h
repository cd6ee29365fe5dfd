#pragma once
// Instance ids, counted per component: the first id is 1. The count does not
// wrap; past the largest 32-bit value it raises the overflow error (6).
#include <QtGlobal>

namespace common {

class ClassIDGenerator {
public:
    explicit ClassIDGenerator(qint32 last = 0) : last_(last) {}
    qint32 NextClassID();

private:
    qint32 last_;
};

}  // namespace common
