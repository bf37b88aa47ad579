# The document under the windows: coming back to the table window against reading the table.
if(TARGET document AND TARGET demorom)
    evo_add_bench(document SOURCES bench_document.cpp LIBS document demorom Qt6::Gui)
endif()
