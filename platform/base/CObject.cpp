#include "platform/base/CObject.h"

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), nullptr};

void AfxThrowInvalidArgException(const std::string& what)
{
    throw CInvalidArgException(what);
}
