# The button's redraw cost against filling its image once.
if(TARGET styledbutton)
    evo_add_bench(button SOURCES bench_button.cpp LIBS styledbutton Qt6::Widgets)
    # The editor's own button is read from its design file in the source tree.
    target_compile_definitions(bench_button PRIVATE EVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endif()
