// physics/api/Api.h: every free form of the library, for programs that call no methods.
#pragma once
#include "physics/api/AdvBodyApi.h"
#include "physics/api/BodyApi.h"
#include "physics/api/ColEventApi.h"
#include "physics/api/ConstraintApi.h"
#include "physics/api/MassApi.h"
#include "physics/api/PhysicsApi.h"
#include "physics/api/RigApi.h"
#include "physics/api/ZoneApi.h"
