#pragma once

#include <exception>

#include "app/UError.h"
#include "app/UMessageSeam.h"

template <typename F>
void RunGuarded(F &&handler)
{
    try {
        handler();
    } catch (const std::exception &error) {
        ShowFrameworkError(ErrorText(error));
    }
}
