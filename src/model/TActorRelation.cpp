#include "model/TActorRelation.h"

namespace kavo {

const char* RelationTypeName(TActorRelationType type) {
    switch (type) {
        case TActorRelationType::rtAffect:
            return "Affect";
        case TActorRelationType::rtCooperation:
            return "Cooperation";
        case TActorRelationType::rtDominance:
            return "Dominance";
        case TActorRelationType::rtFrankness:
            return "Frankness";
    }
    return "";
}

const char* RelationTypeHint(TActorRelationType type, bool negative) {
    switch (type) {
        case TActorRelationType::rtAffect:
            return negative ? "Negative affect (antipathy, will try to keep the other actor from "
                              "attaining its goals)"
                            : "Positive affect (sympathy, will help the other actor to attain its "
                              "goals)";
        case TActorRelationType::rtCooperation:
            return "Co-operation (will act to maximise both own and other actor's goal attainment)";
        case TActorRelationType::rtDominance:
            return "Dominance (can decide on the other actor's actions)";
        case TActorRelationType::rtFrankness:
            return "Frankness (communicates own perception to the other actor)";
    }
    return "";
}

}  // namespace kavo
