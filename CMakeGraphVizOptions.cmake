# What `cmake --graphviz` draws (scripts/layers.sh): the program's libraries and
# the Qt modules they link, without tests, benchmarks, tools or system libraries.
set(GRAPHVIZ_GRAPH_NAME "Tallivox libraries")
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_EXECUTABLES TRUE)
set(GRAPHVIZ_MODULE_LIBS FALSE)
set(GRAPHVIZ_INTERFACE_LIBS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS "^tst_" "^fuzz_" "^tallivox-" "^tallivox_soundsynth$" "^tallivox_logoicon$"
    "^tallivox_sounds$" "^tallivox_helpfile$" "OpenGL" "PULSE" "X11" "Threads" "WrapAtomic" "^Qt6::Test$"
    "^Qt6::WebSockets$" "^Qt6::Platform" "^Qt6::Entry" "^Qt6::moc$" "^-" "^/")
