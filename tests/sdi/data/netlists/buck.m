tsim = 2.0000e-03
td = 1.0000e-07
points = 5000
swinit = [ 1    0     ]
x0 = [ 0.0000e+00       
       0.0000e+00      ]
tmd = [ 0.0000e+00     1.0000e-05     1   1     
        5.0000e-06     1.0000e-05     0   1    ]
Cy = [ 1.0000e+00     0.0000e+00       
       -1.0000e+00    0.0000e+00      ]
Ct = [ 0.0000e+00     0.0000e+00     0.0000e+00     0.0000e+00       
       0.0000e+00     0.0000e+00     0.0000e+00     0.0000e+00      ]
Csw = [ 1     
        1    ]
Cc = [ 0.0000e+00       
       0.0000e+00      ]
thon(1,:)=[  2   2];
thoff(1,:)=[  2   1];
% Circuit name : /home/user/buck

% Circuit Description
X = [ 'V1        1   0   1.2000e+01                 '   % V1
      'S1        1   2   0.0000e+00                 '   % S1
      'D1        0   2   0.0000e+00                 '   % D1
      'L1        2   3   1.0000e-04                 '   % L1
      'C1        3   0   1.0000e-04                 '   % C1
      'R1        3   0   5.0000e+00                 '   % R1
      'I01       3   0   0.0000e+00                 ' ] % Vout

% Output Description
Y = [ 'I         D1                                 '  
      'V         I01                                ' ] % Vout

% Number of nodes
numn = 4;
