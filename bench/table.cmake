# The whole table: evolution-table's export against reading the table's bytes once.
if(TARGET tablecli AND TARGET demorom)
    evo_add_bench(table SOURCES bench_table.cpp LIBS tablecli demorom)
endif()
