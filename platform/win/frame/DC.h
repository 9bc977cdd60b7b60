// CDC: a drawing context handed to a view's drawing step.
#pragma once

#include "platform/core/Object.h"

class CDC : public CObject {
public:
    CDC() = default;
};
