#pragma once

#include "UError.h"

// A paper that could not be made, stored or opened: the message is the one
// the candidate is shown in an error box. Database errors are not of this
// kind; they go on to the framework's error box.
class EPaperError : public EExamoraError
{
public:
    using EExamoraError::EExamoraError;
};
