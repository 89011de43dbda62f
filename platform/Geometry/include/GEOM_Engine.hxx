#pragma once

// Base of the GEOM engines. Operation sets are constructed on an engine.
class GEOM_Engine {
public:
    GEOM_Engine() = default;
    virtual ~GEOM_Engine() = default;

    GEOM_Engine(const GEOM_Engine&) = delete;
    GEOM_Engine& operator=(const GEOM_Engine&) = delete;
};
