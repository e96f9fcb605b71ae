// Request options of the data-manager library, destroyed with Destroy when the request is done.
#pragma once

#include "mondrel/Mondrel.h"

#include <memory>

struct RequestOptionsDestroyer {
    void operator()(IRequestOptions* options) const { options->Destroy(); }
};

using RequestOptionsPtr = std::unique_ptr<IRequestOptions, RequestOptionsDestroyer>;
