# The drawing layer's primitives and the picture routine, each next to filling the same image once.
if(TARGET platform AND TARGET styledbutton)
    evo_add_bench(gdi SOURCES bench_gdi.cpp LIBS platform styledbutton Qt6::Gui)
endif()
