// physics/detail/UserCode.h: the one way from the library into application code (event hooks and
// zone responses), and how the step learns that such code has run.
#pragma once
#include <cstdint>
#include <utility>

namespace ravel::detail
{

/// User code may move any mass, add, remove or free masses, constraints, zones, hooks and bodies,
/// and free or replace the world. Every call into it goes through CallUser, which counts it; a walk
/// of the step takes a Mark before handing control away and, when user code has run since, stops
/// trusting what it took before: where its entries are, whether they are still in the world, the
/// bounds of the grid's cells.
struct UserCodeState
{
    std::uint64_t runs = 0; ///< calls into user code so far
    int hooks = 0;          ///< event hooks installed; while there are none a contact calls no user code
};
extern UserCodeState userCode;

/// Runs a hook or a response.
template <class F> decltype(auto) CallUser(F&& call)
{
    ++userCode.runs;
    return std::forward<F>(call)();
}

/// A point in the library's calls into user code.
class Mark
{
  public:
    Mark() : runs_(userCode.runs) {}
    /// True when user code has run since the mark was taken.
    bool UserRan() const { return userCode.runs != runs_; }

  private:
    std::uint64_t runs_;
};

/// True while event hooks are installed: a contact reported then may run user code.
inline bool HooksInstalled()
{
    return userCode.hooks != 0;
}

} // namespace ravel::detail
