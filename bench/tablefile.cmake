# Reading an import file: how its time grows with the file.
if(TARGET tablecli)
    evo_add_bench(tablefile SOURCES bench_tablefile.cpp LIBS tablecli)
endif()
