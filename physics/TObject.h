// physics/TObject.h: the root of the library's shared object types.
#pragma once
#include <memory>

namespace ravel
{

/// Root of every shared object of the library, so that a collision event can name any of them.
class TObject : public std::enable_shared_from_this<TObject>
{
  public:
    virtual ~TObject();
};

using TObjectRef = std::shared_ptr<TObject>;

} // namespace ravel
