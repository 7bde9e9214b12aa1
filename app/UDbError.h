#pragma once

#include "app/UError.h"

// The error the data layer throws: carries the driver's text so that the
// application's single handler can show what the engine said.
class EDatabaseError : public EExamoraError
{
public:
    using EExamoraError::EExamoraError;
};
