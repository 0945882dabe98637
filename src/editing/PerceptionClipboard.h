#pragma once

#include <string>
#include <vector>

namespace kavo {

class TEdit;
class TPerception;

// Fills the context's CopyBuffer with case-file rows of the perception's selected items: a row
// for each actor and each concept involved, the FiP rows of the selected FiPs, and for each
// selected link the rows of its ends that are not selected and its own.
void CopySelection(TPerception& perception);
// Reads case-file rows into the perception, recorded into the edit: actor and concept rows find or
// create their actors and concepts (and give them their comments), FiP and link rows add FiPs and
// links; a FiP of a concept already shown keeps its box and takes the pasted goal or prospect. A
// row of any other kind reports "Error during paste", and nothing is pasted; false then. Clears
// the selection and the results.
bool Paste(TEdit& edit, TPerception& perception, const std::vector<std::string>& lines);

}  // namespace kavo
