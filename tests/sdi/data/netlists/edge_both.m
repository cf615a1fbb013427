tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
swinit = [ 0    0     ]
tmd = [ 2.0000e-06     1.0000e-05     1   2     
        2.0000e-06     1.0000e-05     0   2    ]
Cy = [ 1.0000e+00       
       -1.0000e+00     ]
Ct = [ 0.0000e+00     0.0000e+00     0.0000e+00     0.0000e+00       
       0.0000e+00     0.0000e+00     0.0000e+00     0.0000e+00      ]
Csw = [ 1     
        1    ]
Cc = [ 0.0000e+00       
       0.0000e+00      ]
thon(1,:)=[  1   2];
thoff(1,:)=[  1   1];
% Circuit name : /home/user/both

% Circuit Description
X = [ 'V1        1   0   1.0000e+00                 '   % V1
      'D1        0   1   0.0000e+00                 '   % D1
      'S1        1   2   0.0000e+00                 '   % S1
      'R1        2   0   1.0000e+00                 ' ] % R1

% Output Description
Y = [ 'I         D1                                 ' ]

% Number of nodes
numn = 3;
