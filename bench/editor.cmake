# The editor window: start-up to the first painted window, and showing a slot through the window.
if(TARGET editor AND TARGET demorom)
    evo_add_bench(editor SOURCES bench_editor.cpp LIBS editor demorom Qt6::Widgets)
endif()
