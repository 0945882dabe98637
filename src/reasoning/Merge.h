#pragma once

namespace kavo {

class TArena;
class TPerception;

// Adds another perception's factors, links and prospects (and with goals, its goals and chosen
// levels) to this one. A factor both show keeps one FiP with both comments, the union of the
// action ranges and "ADD" where the operators differ; a prospect or link both have is cumulated,
// so that it holds one unit distribution per perception until NormalizeUncertainties. Into the
// analyst view of a simulation round no link into an action is taken. Clears the selection, the
// results and the rationality.
void MergeFrom(TPerception& target, const TPerception& source, bool withGoals);
// Every prospect and link gets its normalized distribution and the level and uncertainty that
// follow from it; vectors stay.
void NormalizeUncertainties(TPerception& perception);
// Empties the arena's analyst view and fills it with the union of its actors' perceptions, with
// averaged prospects and links and no goals. Whether to overwrite a view that is not empty is the
// caller's question.
void MergeIntoAnalystView(TArena& arena);
// Copies every FiP, link, goal and prospect into the target, onto the target's FiP of the same
// factor.
void CopyPerception(const TPerception& source, TPerception& target);

}  // namespace kavo
