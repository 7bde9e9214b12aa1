#pragma once

#include <exception>

#include "UError.h"
#include "UMessageSeam.h"

template <typename F>
void RunGuarded(F &&handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        ShowFrameworkError(ErrorText(error));
    }
}
