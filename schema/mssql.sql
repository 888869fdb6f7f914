-- Schema for SQL Server. The database's default (case-insensitive) collation makes LoginId
-- compare without letter case. nvarchar(n) refuses longer texts by itself.
-- Every statement is followed by a line holding only GO; the loader runs the statements one by one.
-- Operators. LoginId compares without letter case; Rights holds ",code," pairs, Menus the desktop.
create table operator (
    LoginId nvarchar(30) not null primary key,
    [Password] nvarchar(50) null,
    Name nvarchar(50) null,
    Contact nvarchar(100) null,
    [Note] nvarchar(200) null,
    Rights nvarchar(max) null,
    Menus nvarchar(max) null
)
GO
-- Options by numeric key; each key uses one of the four value columns.
create table keyvalue (
    KeyId int not null primary key,
    Vstr nvarchar(max) null,
    Vint int null,
    Vfloat float null,
    Vbool bit null
)
GO
-- Numbered pick lists.
create table options (
    [Key] int not null primary key,
    Label nvarchar(100) null,
    List nvarchar(max) null
)
GO
-- Company information; the first row is used.
create table Company (
    Id int not null primary key,
    CompanyName nvarchar(100) null,
    Manager nvarchar(50) null,
    Tel nvarchar(50) null,
    Fax nvarchar(50) null,
    Address nvarchar(200) null,
    Zip nvarchar(20) null,
    Profile nvarchar(max) null,
    Updated bit null
)
GO
-- Report templates by group; Fr3File holds the template, empty for a new one.
create table report (
    Id int not null primary key,
    GrpId int null,
    Title nvarchar(100) null,
    Fr3File varbinary(max) null
)
GO
create index ix_report_GrpId on report (GrpId)
GO
-- Class tree: Code is the parent's code + SlfId + ".", so a prefix match selects a class and its
-- subclasses; PrtId is the parent's SlfId (0 at the top). Deleting a class with children is refused
-- by the program, not by a key; items keep their ClassId. Code sorts byte-wise, so that a class's
-- subtree follows it directly in code order.
create table materialclass (
    Id int not null primary key,
    Code nvarchar(50) collate Latin1_General_BIN2 null,
    Name nvarchar(50) null,
    [Note] nvarchar(50) null,
    SlfId int null,
    PrtId int null
)
GO
create unique index ux_materialclass_Code on materialclass (Code)
GO
create unique index ux_materialclass_SlfId on materialclass (SlfId)
GO
create index ix_materialclass_PrtId on materialclass (PrtId)
GO
-- Class tree: Code is the parent's code + SlfId + ".", so a prefix match selects a class and its
-- subclasses; PrtId is the parent's SlfId (0 at the top). Deleting a class with children is refused
-- by the program, not by a key; items keep their ClassId. Code sorts byte-wise, so that a class's
-- subtree follows it directly in code order.
create table productclass (
    Id int not null primary key,
    Code nvarchar(50) collate Latin1_General_BIN2 null,
    Name nvarchar(50) null,
    [Note] nvarchar(50) null,
    SlfId int null,
    PrtId int null
)
GO
create unique index ux_productclass_Code on productclass (Code)
GO
create unique index ux_productclass_SlfId on productclass (SlfId)
GO
create index ix_productclass_PrtId on productclass (PrtId)
GO
-- Materials. ClassId is 0 or NULL without class and may name a deleted class, so it has no foreign
-- key. Stock and Apps are recomputed when bills and applications are checked.
create table materials (
    Id int not null primary key,
    ClassId int null,
    LookId nvarchar(50) null,
    Code nvarchar(50) null,
    Name nvarchar(50) null,
    S1 nvarchar(200) null,
    S2 nvarchar(50) null,
    S3 nvarchar(50) null,
    S4 nvarchar(50) null,
    S5 nvarchar(50) null,
    Price float null,
    F2 float null,
    F3 float null,
    F4 float null,
    F5 float null,
    Notes nvarchar(50) null,
    CostId int null,
    Stock float null default 0,
    Apps float null
)
GO
create index ix_materials_ClassId on materials (ClassId)
GO
create index ix_materials_Code on materials (Code)
GO
-- Products; ClassId as for materials.
create table products (
    Id int not null primary key,
    ClassId int null,
    LookId nvarchar(20) null,
    Code nvarchar(30) null,
    Name nvarchar(30) null,
    S1 nvarchar(200) null,
    S2 nvarchar(30) null,
    S3 nvarchar(20) null,
    S4 nvarchar(20) null,
    S5 nvarchar(10) null,
    F1 float null,
    F2 float null,
    F3 float null,
    F4 float null,
    F5 float null,
    Notes nvarchar(50) null,
    CostId int null
)
GO
create index ix_products_ClassId on products (ClassId)
GO
create index ix_products_Code on products (Code)
GO
-- Bill-of-materials lines. The program deletes a product's lines before the product; a material
-- named here cannot be deleted.
create table productbom (
    Id int not null primary key,
    ProductId int not null,
    MaterialId int not null,
    Qty float null,
    Notes nvarchar(50) null,
    BomS01 nvarchar(50) null,
    BomS02 nvarchar(50) null,
    BomS03 nvarchar(50) null,
    constraint fk_productbom_ProductId foreign key (ProductId) references products (Id),
    constraint fk_productbom_MaterialId foreign key (MaterialId) references materials (Id)
)
GO
create index ix_productbom_ProductId on productbom (ProductId)
GO
create index ix_productbom_MaterialId on productbom (MaterialId)
GO
-- Types of materials-in bills; no window edits them.
create table materialsintype (
    Id int not null primary key,
    Name nvarchar(20) null
)
GO
-- Types of materials-out bills; no window edits them.
create table materialsoutype (
    Id int not null primary key,
    Name nvarchar(20) null
)
GO
-- Types of products-in bills; no window edits them.
create table productsintype (
    Id int not null primary key,
    Name nvarchar(20) null
)
GO
-- Production orders. Status is '', '执行', '暂停' or '完工'. An order named by a bill cannot be deleted;
-- an order needs an existing product.
create table touchans (
    Id int not null primary key,
    ProductId int not null,
    Qty float null,
    Notes nvarchar(max) null,
    TouDate datetime null,
    ComDate datetime null,
    Status nvarchar(10) null,
    ComQty float null default 0,
    ComNotes nvarchar(max) null,
    constraint fk_touchans_ProductId foreign key (ProductId) references products (Id)
)
GO
create index ix_touchans_ProductId on touchans (ProductId)
GO
create index ix_touchans_Status on touchans (Status)
GO
-- Purchase applications. Checked while CheckTime is set, cancelled while CancelTime is set;
-- ArrTotalQty and ArrLastDate follow the checked materials-in lines naming the application.
create table materialsapp (
    Id int not null primary key,
    Code nvarchar(20) null,
    AppDate datetime null,
    MaterialId int not null,
    Qty float null,
    Notes nvarchar(50) null,
    AppmanId int null,
    Billman nvarchar(30) null,
    BillTime datetime null,
    Checkman nvarchar(30) null,
    CheckTime datetime null,
    Cancelman nvarchar(30) null,
    CancelTime datetime null,
    ArrTotalQty float null default 0,
    ArrLastDate datetime null,
    constraint fk_materialsapp_MaterialId foreign key (MaterialId) references materials (Id)
)
GO
create unique index ux_materialsapp_Code on materialsapp (Code)
GO
create index ix_materialsapp_MaterialId on materialsapp (MaterialId)
GO
-- Materials-in bill headers. Checked exactly while CheckTime is set; TypeId is -1 when no type was
-- chosen, so it has no foreign key.
create table materialsin (
    Id int not null primary key,
    Code nvarchar(30) null,
    BizDate datetime null,
    SignId int null,
    TypeId int null,
    Billman nvarchar(30) null,
    BillTime datetime null,
    Checkman nvarchar(30) null,
    CheckTime datetime null,
    Notes nvarchar(50) null
)
GO
create unique index ux_materialsin_Code on materialsin (Code)
GO
create index ix_materialsin_BizDate on materialsin (BizDate)
GO
-- Materials-in bill lines; AppId names the purchase application the line fulfils.
create table materialsindl (
    dlId int not null primary key,
    MastId int not null,
    MaterialId int not null,
    Qty float null,
    Price float null,
    Fund float null,
    dlNote nvarchar(50) null,
    AppId int null,
    constraint fk_materialsindl_MastId foreign key (MastId) references materialsin (Id),
    constraint fk_materialsindl_MaterialId foreign key (MaterialId) references materials (Id),
    constraint fk_materialsindl_AppId foreign key (AppId) references materialsapp (Id)
)
GO
create index ix_materialsindl_MastId on materialsindl (MastId)
GO
create index ix_materialsindl_MaterialId on materialsindl (MaterialId)
GO
create index ix_materialsindl_AppId on materialsindl (AppId)
GO
-- Materials-out bill headers. TouchanId is 0 when the bill names no production order; TouchanRef
-- (TouchanId, NULL for 0) carries the foreign key to touchans. TouchanRef has no index here: an
-- index on a computed column would bind every insert and update to particular session SET options.
create table materialsout (
    Id int not null primary key,
    Code nvarchar(30) null,
    BizDate datetime null,
    SignId int null,
    TypeId int null,
    Billman nvarchar(30) null,
    BillTime datetime null,
    Checkman nvarchar(30) null,
    CheckTime datetime null,
    Notes nvarchar(50) null,
    TouchanId int not null default 0,
    TouchanRef as nullif(TouchanId, 0) persisted,
    constraint fk_materialsout_TouchanRef foreign key (TouchanRef) references touchans (Id)
)
GO
create unique index ux_materialsout_Code on materialsout (Code)
GO
create index ix_materialsout_BizDate on materialsout (BizDate)
GO
create index ix_materialsout_TouchanId on materialsout (TouchanId)
GO
-- Materials-out bill lines.
create table materialsoutdl (
    dlId int not null primary key,
    MastId int not null,
    MaterialId int not null,
    Qty float null,
    Price float null,
    Fund float null,
    dlNote nvarchar(50) null,
    constraint fk_materialsoutdl_MastId foreign key (MastId) references materialsout (Id),
    constraint fk_materialsoutdl_MaterialId foreign key (MaterialId) references materials (Id)
)
GO
create index ix_materialsoutdl_MastId on materialsoutdl (MastId)
GO
create index ix_materialsoutdl_MaterialId on materialsoutdl (MaterialId)
GO
-- Products-in bill headers; TypeId is always 0.
create table productsin (
    Id int not null primary key,
    Code nvarchar(30) null,
    BizDate datetime null,
    SignId int null,
    TypeId int null,
    Billman nvarchar(30) null,
    BillTime datetime null,
    Checkman nvarchar(30) null,
    CheckTime datetime null,
    Notes nvarchar(50) null
)
GO
create unique index ux_productsin_Code on productsin (Code)
GO
create index ix_productsin_BizDate on productsin (BizDate)
GO
-- Products-in bill lines, one production order each.
create table productsindl (
    dlId int not null primary key,
    MastId int not null,
    TouchanId int not null,
    Qty float null,
    Price float null,
    Fund float null,
    dlNote nvarchar(50) null,
    constraint fk_productsindl_MastId foreign key (MastId) references productsin (Id),
    constraint fk_productsindl_TouchanId foreign key (TouchanId) references touchans (Id)
)
GO
create index ix_productsindl_MastId on productsindl (MastId)
GO
create index ix_productsindl_TouchanId on productsindl (TouchanId)
GO
-- Grid layouts: F02 the layout id, F06 the layout text.
create table syscols (
    F02 int not null primary key,
    F06 nvarchar(max) null
)
GO
-- Backup plan, one row: TypeId 0 none, 1 every exit, 2 Mondays, 3 first of the month.
create table [backup] (
    TypeId smallint null,
    BackDir nvarchar(500) null
)
GO
-- Upgrade scripts, one per older version.
create table upgrade (
    Id int not null primary key,
    Version nvarchar(50) null,
    SqlText nvarchar(max) null
)
GO
-- One row per bill-of-materials line with its material's data.
create view ProductBomView as
select b.Id, b.ProductId, b.MaterialId, b.Qty, b.Notes, b.BomS01, b.BomS02, b.BomS03,
       m.LookId as MaterialLookId, m.Code as MaterialCode, m.Name as MaterialName,
       m.S1 as MaterialS1, m.S2 as MaterialS2, m.S3 as MaterialS3, m.S4 as MaterialS4,
       m.S5 as MaterialS5, m.Price as MaterialPrice
  from productbom b
  left join materials m on m.Id = b.MaterialId
GO
-- One row per production order with its product. ProductClassId is the product class's CODE, so that
-- "ProductClassId like 'code%'" selects a class and its subclasses.
create view TouchanView as
select t.Id, t.ProductId, c.Code as ProductClassId, p.LookId as ProductLookId,
       p.Code as ProductCode, p.Name as ProductName,
       p.S1 as ProductS1, p.S2 as ProductS2, p.S3 as ProductS3, p.S4 as ProductS4,
       p.S5 as ProductS5,
       p.F1 as ProductF1, p.F2 as ProductF2, p.F3 as ProductF3, p.F4 as ProductF4,
       p.F5 as ProductF5,
       t.TouDate, t.Qty, t.ComQty, t.Notes, t.ComDate, t.ComNotes, t.Status
  from touchans t
  left join products p on p.Id = t.ProductId
  left join productclass c on c.Id = p.ClassId
GO
-- The system operator sa: empty password; it holds every right whatever Rights says.
insert into operator (LoginId, [Password], Name, Contact, [Note], Rights) values ('sa', '', N'系统用户', '', '', ',1,,2,,3,,15,,4,,5,,6,,14,,7,,8,,9,,10,,11,,12,,13,,10000,,100001,,10002,,10003,,10004,,10008,,10006,,10005,,10007,')
GO
-- The two integers of the caption settings, stored as an integer setter stores them.
insert into keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) values
    (101, '', 0, 0, 1),
    (102, '', 0, 0, 1)
GO
-- Default field captions (product 1001-1015, material 1016-1029, bill-of-materials 1031-1033),
-- stored as a string setter stores them.
insert into keyvalue (KeyId, Vstr, Vint, Vfloat, Vbool) values
    (1001, N'助查码', 0, 0, 1),
    (1003, N'货号', 0, 0, 1),
    (1004, N'品名', 0, 0, 1),
    (1005, N'规格', 0, 0, 1),
    (1006, N'型号', 0, 0, 1),
    (1007, N'品牌', 0, 0, 1),
    (1008, N'包装', 0, 0, 1),
    (1009, N'单位', 0, 0, 1),
    (1010, N'入库价', 0, 0, 1),
    (1011, N'出库价', 0, 0, 1),
    (1012, N'库存下限', 0, 0, 1),
    (1013, N'库存上限', 0, 0, 1),
    (1014, N'其他', 0, 0, 1),
    (1015, N'备注', 0, 0, 1),
    (1016, N'助查码', 0, 0, 1),
    (1018, N'货号', 0, 0, 1),
    (1019, N'品名', 0, 0, 1),
    (1020, N'规格', 0, 0, 1),
    (1021, N'型号', 0, 0, 1),
    (1022, N'品牌', 0, 0, 1),
    (1023, N'包装', 0, 0, 1),
    (1024, N'单位', 0, 0, 1),
    (1026, N'出库价', 0, 0, 1),
    (1027, N'库存下限', 0, 0, 1),
    (1028, N'库存上限', 0, 0, 1),
    (1029, N'其他', 0, 0, 1),
    (1031, N'描述01', 0, 0, 1),
    (1032, N'描述02', 0, 0, 1),
    (1033, N'描述03', 0, 0, 1)
GO
-- Bill types. New materials-in bills propose type 1; materials-out and products-in bills always
-- carry type 0.
insert into materialsintype (Id, Name) values (1, N'申购入库'), (2, N'其他入库')
GO
insert into materialsoutype (Id, Name) values (0, N'领料出库')
GO
insert into productsintype (Id, Name) values (0, N'成品入库')
GO
-- The backup plan row: no automatic backup, no directory.
insert into [backup] (TypeId, BackDir) values (0, '')
GO
