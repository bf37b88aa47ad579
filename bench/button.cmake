# The button's redraw cost against filling its image once.
if(TARGET styledbutton)
    evo_add_bench(button SOURCES bench_button.cpp LIBS styledbutton Qt6::Widgets)
endif()
