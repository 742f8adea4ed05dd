// physics/TObject.h: the root of the library's shared object types.
#pragma once
#include "physics/Refs.h"

#include <memory>

namespace ravel
{

/// Root of every shared object of the library, so that a collision event can name any of them.
class TObject : public std::enable_shared_from_this<TObject>
{
  public:
    /// Virtual, so that any object is released correctly through a TObjectRef.
    virtual ~TObject();

    /// The collision-event kind an event gets when this object is its second party: -1 (custom) here;
    /// masses, zones and the world override it.
    virtual int EventKind() const;

    /// This object as a mass, or null; TMass overrides it.
    virtual TMass* AsMass();
    /// This object as a zone, or null; TZone overrides it, so that events can hand out their zone
    /// without this layer knowing the zone's class.
    virtual TZone* AsZone();
};

} // namespace ravel
